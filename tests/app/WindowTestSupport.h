#pragma once
// A shown main window whose modal seam records instead of asking, the view
// rendered to an image, and recordings written to a private directory.
#include "app/Unit1.h"
#include "WavBuilder.h"

#include <QImage>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace apptest {

// An environment variable set to Value while the object lives.
class TScopedEnv {
public:
    TScopedEnv(const char *Name, const QByteArray &Value);
    ~TScopedEnv();
    TScopedEnv(const TScopedEnv &) = delete;
    TScopedEnv &operator=(const TScopedEnv &) = delete;

private:
    const char *FName;
    std::optional<QByteArray> FOld;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The view as the screen shows it: the black panel with PB painted on it.
    QImage View();
    // Writes a file into the private directory and returns its path.
    QString WriteFile(const std::string &Name, const wavtest::Bytes &Content);
    // Loads through the menu command, the dialog answering with Path.
    void Open(const QString &Path);
    // The per-user data folder of the test program: XDG_DATA_HOME points
    // into the private directory, so that no test writes into a real home.
    QString DataHome() const { return Dir.filePath(QStringLiteral("data")); }

    std::unique_ptr<TForm1> Form;
    // The question before hand corrections would go, and the offer of the
    // areas kept for a recording opened again: each noted and answered as
    // set here (going ahead; not taking them). The window's own dialogs,
    // for the tests that answer them themselves.
    QStringList AreaQuestions;
    TForm1::TUnsavedAnswer AreaAnswer = TForm1::TUnsavedAnswer::Discard;
    QStringList KeptOffers;
    bool TakeKept = false;
    std::function<TForm1::TUnsavedAnswer(const QString &)> WindowAskSaveAreas;
    std::function<bool(const QString &)> WindowOfferKeptAreas;
    QStringList Errors;
    QStringList Messages;
    int DialogRuns = 0;
    int Paints = 0; // paints of PB since set-up
    QTemporaryDir Dir;
    std::optional<TScopedEnv> DataHomeSetting;
    // The remembered settings' store lies in the private directory too.
    std::optional<TScopedEnv> ConfigHomeSetting;
};

// 16-bit PCM of the given frames; Stereo takes pairs (left, right).
wavtest::Bytes Mono16(const std::vector<std::int16_t> &Frames);
wavtest::Bytes Stereo16(const std::vector<std::int16_t> &Interleaved);
wavtest::Bytes Silence16(std::int32_t FrameCount);

// Types Text into Edit and presses Enter.
void TypeInto(QLineEdit *Edit, const QString &Text);

// The colour of one pixel as "#rrggbb", for readable failures.
std::string At(const QImage &Image, int X, int Y);

} // namespace apptest
