#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool KeepsDesignedTexts(const QLocale &Locale)
{
    return Locale.language() == QLocale::Japanese || Locale.language() == QLocale::C;
}

TLanguage::TLanguage(const QLocale &Locale)
{
    // Qt's catalogue first: the program's, installed later, is searched
    // first and so wins where both know a text.
    Install(Locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!KeepsDesignedTexts(Locale))
        FEnglish = Install(QLocale(QLocale::English), QStringLiteral("redivev"), QStringLiteral(":/i18n"));
}

TLanguage::~TLanguage()
{
    for (const std::unique_ptr<QTranslator> &Translator : FTranslators)
        QCoreApplication::removeTranslator(Translator.get());
}

bool TLanguage::Install(const QLocale &Locale, const QString &Name, const QString &Folder)
{
    auto Translator = std::make_unique<QTranslator>();
    if (!Translator->load(Locale, Name, QStringLiteral("_"), Folder)
        || !QCoreApplication::installTranslator(Translator.get()))
        return false;
    FTranslators.push_back(std::move(Translator));
    return true;
}
