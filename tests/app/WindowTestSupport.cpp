#include "WindowTestSupport.h"

#include "app/PaintBox.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace apptest {

TScopedEnv::TScopedEnv(const char *Name, const QByteArray &Value) : FName(Name)
{
    if (qEnvironmentVariableIsSet(Name))
        FOld = qgetenv(Name);
    qputenv(Name, Value);
}

TScopedEnv::~TScopedEnv()
{
    if (FOld)
        qputenv(FName, *FOld);
    else
        qunsetenv(FName);
}

void FormTest::SetUp()
{
    ASSERT_TRUE(Dir.isValid());
    DataHomeSetting.emplace("XDG_DATA_HOME", QFile::encodeName(DataHome()));
    ConfigHomeSetting.emplace("XDG_CONFIG_HOME", QFile::encodeName(Dir.filePath(QStringLiteral("config"))));
    Form = std::make_unique<TForm1>();
    Form->ShowError = [this](const QString &Text) { Errors << Text; };
    Form->ShowMessage = [this](const QString &Text) { Messages << Text; };
    Form->RunOpenDialog = [this]() -> std::optional<QString> {
        ++DialogRuns;
        return std::nullopt;
    };
    WindowAskSaveAreas = Form->AskSaveAreas;
    WindowOfferKeptAreas = Form->OfferKeptAreas;
    Form->AskSaveAreas = [this](const QString &Text) {
        AreaQuestions << Text;
        return AreaAnswer;
    };
    Form->OfferKeptAreas = [this](const QString &Text) {
        KeptOffers << Text;
        return TakeKept;
    };
    auto Paint = Form->PB->OnPaint;
    Form->PB->OnPaint = [this, Paint] {
        ++Paints;
        Paint();
    };
    Form->show();
    QApplication::processEvents();
    Paints = 0;
}

void FormTest::TearDown()
{
    Form.reset();
    DataHomeSetting.reset();
    ConfigHomeSetting.reset();
}

QImage FormTest::View()
{
    return Form->Panel2->grab(Form->PB->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

QString FormTest::WriteFile(const std::string &Name, const wavtest::Bytes &Content)
{
    const QString Path = Dir.filePath(QString::fromStdString(Name));
    wavtest::WriteFileBytes(Path.toStdString(), Content);
    return Path;
}

void FormTest::Open(const QString &Path)
{
    Form->RunOpenDialog = [this, Path]() -> std::optional<QString> {
        ++DialogRuns;
        return Path;
    };
    Form->FileOpen();
}

wavtest::Bytes Mono16(const std::vector<std::int16_t> &Frames)
{
    return wavtest::PcmFile(1, 44100, 16, wavtest::Samples16(Frames));
}

wavtest::Bytes Stereo16(const std::vector<std::int16_t> &Interleaved)
{
    return wavtest::PcmFile(2, 44100, 16, wavtest::Samples16(Interleaved));
}

wavtest::Bytes Silence16(std::int32_t FrameCount)
{
    return Mono16(std::vector<std::int16_t>(static_cast<std::size_t>(FrameCount), 0));
}

void TypeInto(QLineEdit *Edit, const QString &Text)
{
    Edit->setText(Text);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Edit, &Press);
}

std::string At(const QImage &Image, int X, int Y)
{
    return QColor(Image.pixel(X, Y)).name().toStdString();
}

} // namespace apptest
