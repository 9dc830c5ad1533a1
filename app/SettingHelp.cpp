#include "app/SettingHelp.h"

#include "app/Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

QString Text(const char *Source)
{
    return QCoreApplication::translate("SettingHelp", Source);
}

// The two kinds of value the rows take, as a tooltip's second line.
QString LevelUnit()
{
    return Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: 16ビットのサンプル値 (0〜32768)。-30dB のように dBFS でも入力できます。"));
}

QString WidthUnit()
{
    return Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: サンプル数。0.4s や 400ms のように時間でも入力できます。"));
}

QString CommandLine(const char *Option)
{
    return Text(QT_TRANSLATE_NOOP("SettingHelp", "コマンドライン: %1")).arg(QString::fromLatin1(Option));
}

// Every control on the row of Control: the caption left of it, the edit
// and the equivalent beside it.
void Describe(QWidget *Control, const QString &Tip)
{
    QWidget *Rows = Control->parentWidget();
    const int Middle = Control->geometry().center().y();
    for (QWidget *Other : Rows->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect Place = Other->geometry();
        // The buttons beside the zoom rows span both.
        if (Place.top() > Middle || Place.bottom() < Middle || qobject_cast<QPushButton *>(Other) != nullptr)
            continue;
        // A designed hint stays where it was put.
        if (Other->toolTip().isEmpty())
            Other->setToolTip(Tip);
    }
}

} // namespace

void DescribeSettings(TForm1 &Form)
{
    const QString Drawn = Text(QT_TRANSLATE_NOOP(
        "SettingHelp", "ビューに描くだけの値です。保存するデータにフェードは掛かりません。"));
    const QString ViewOnly = Text(QT_TRANSLATE_NOOP("SettingHelp", "表示だけの設定です。コマンドラインにはありません。"));
    const struct {
        QWidget *Control;
        QString What, Unit, Option;
    } Rows[] = {
        {Form.SBVZ, Text(QT_TRANSLATE_NOOP("SettingHelp", "波形の縦の拡大率です。")),
         Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: 1000 で最大振幅がビューの中心から128ピクセル。")), ViewOnly},
        {Form.SBHZ, Text(QT_TRANSLATE_NOOP("SettingHelp", "波形の横の縮小率です。")),
         Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: 1ピクセルあたりのサンプル数。")), ViewOnly},
        {Form.SBCSL, Text(QT_TRANSLATE_NOOP("SettingHelp", "区間の外で、この値以上の音が来ると区間が始まります。")),
         LevelUnit(), CommandLine("--cut-start-level")},
        {Form.SBN, Text(QT_TRANSLATE_NOOP("SettingHelp", "この値以下の音は無音と見なします。")), LevelUnit(),
         CommandLine("--no-sound-level")},
        {Form.SBNW, Text(QT_TRANSLATE_NOOP("SettingHelp", "無音がこの長さ続くと区間が終わります。")), WidthUnit(),
         CommandLine("--no-sound-width")},
        {Form.SBML,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "この長さより長い区間だけを残します (Join short がオンなら短い区間は隣と結合)。")),
         WidthUnit(), CommandLine("--min-size")},
        {Form.SBMZSS, Text(QT_TRANSLATE_NOOP("SettingHelp", "区間の前で、静かな始まりを探す範囲です。")), WidthUnit(),
         CommandLine("--backward-search")},
        {Form.SBMZSE, Text(QT_TRANSLATE_NOOP("SettingHelp", "区間の後で、静かな終わりを探す範囲です。")), WidthUnit(),
         CommandLine("--forward-search")},
        {Form.SBAFIL, Text(QT_TRANSLATE_NOOP("SettingHelp", "区間の始まりのフェードインの長さ。")) + Drawn,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: サンプル数。")),
         Text(QT_TRANSLATE_NOOP("SettingHelp", "コマンドラインにはありません。"))},
        {Form.SBAFOL, Text(QT_TRANSLATE_NOOP("SettingHelp", "区間の終わりのフェードアウトの長さ。")) + Drawn,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "単位: サンプル数。")),
         Text(QT_TRANSLATE_NOOP("SettingHelp", "コマンドラインにはありません。"))},
        {Form.SBPAD, Text(QT_TRANSLATE_NOOP("SettingHelp", "各区間の前後に足す余白です (隣の区間には重なりません)。")),
         WidthUnit(), CommandLine("--pad")},
        {Form.SBLW,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "音の大きさを1サンプルではなく、この幅のRMSで測ります。0 は1サンプルです。")),
         WidthUnit(), CommandLine("--level-window")},
        {Form.SBMAX,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "これより長い区間は、その中の最も静かなところで切ります。0 は制限なしです。")),
         WidthUnit(), CommandLine("--max-size")},
        {Form.TargetBox,
         Text(QT_TRANSLATE_NOOP("SettingHelp", "Auto で1つの区間に入れるもの: 文 (sentence)、句 (phrase)、単語 (word)。")),
         Text(QT_TRANSLATE_NOOP("SettingHelp", "右の一覧は、切る位置を決めるときだけ使う周波数帯です: なし (off)、80 Hz 以上 (highpass)、80 Hz〜4 kHz (speech)。保存するデータはそのままです。")),
         CommandLine("--target, --band")},
    };
    for (const auto &Row : Rows)
        if (Row.Control != nullptr)
            Describe(Row.Control, Row.What + QLatin1Char('\n') + Row.Unit + QLatin1Char('\n') + Row.Option);
    if (Form.JoinShortBox != nullptr)
        Form.JoinShortBox->setToolTip(
            Text(QT_TRANSLATE_NOOP("SettingHelp", "Minimum size より短い区間を捨てずに、近い方の隣の区間と結合します (離れすぎていれば1つの区間として残します)。Auto ではオンになります。"))
            + QLatin1Char('\n') + CommandLine("--join-short"));
    if (Form.SuggestButton != nullptr)
        Form.SuggestButton->setToolTip(
            Text(QT_TRANSLATE_NOOP("SettingHelp", "録音の雑音と声の大きさから設定を提案します (redivev-split --auto と同じ設定)。"))
            + QLatin1Char('\n') + CommandLine("--auto"));
}
