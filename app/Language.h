#pragma once
// The window's language. The designed texts are its source: Japanese menus,
// hints and messages, English captions in the tool window and the view.
// They stay as they are under a Japanese locale and under the C locale;
// under any other the window speaks English from the program's catalogue.
// Qt's own dialogs (file dialogs, standard buttons) follow the locale with
// Qt's catalogue for it, where the system has one.
#include <QLocale>

#include <memory>
#include <vector>

class QTranslator;

// Whether Locale keeps the designed texts.
bool KeepsDesignedTexts(const QLocale &Locale);

// The catalogues for Locale, installed into the application while the
// object lives. Windows made afterwards speak its language.
class TLanguage {
public:
    explicit TLanguage(const QLocale &Locale);
    ~TLanguage();
    TLanguage(const TLanguage &) = delete;
    TLanguage &operator=(const TLanguage &) = delete;

    // Whether the program's own catalogue was installed.
    bool English() const { return FEnglish; }

private:
    bool Install(const QLocale &Locale, const QString &Name, const QString &Folder);

    std::vector<std::unique_ptr<QTranslator>> FTranslators;
    bool FEnglish = false;
};
