#include "app/SettingHelp.h"

#include "app/Unit1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QScrollBar>

// The texts' context in the catalogue.
class SettingHelp {
    Q_DECLARE_TR_FUNCTIONS(SettingHelp)

public:
    static void DescribeAll(TForm1 &Form);

private:
    // The two kinds of value the rows take, as a tooltip's second line.
    static QString LevelUnit()
    {
        return tr("単位: 16ビットのサンプル値 (0〜32768)。-30dB のように dBFS でも入力できます。");
    }
    static QString WidthUnit() { return tr("単位: サンプル数。0.4s や 400ms のように時間でも入力できます。"); }
    static QString CommandLine(const char *Option) { return tr("コマンドライン: %1").arg(QString::fromLatin1(Option)); }
    static void Describe(QWidget *Control, const QString &Tip, bool Designed);
};

// Every control on the row of Control: the caption left of it, the edit
// and the equivalent beside it. A designed row's scroll bar keeps its
// designed hint, or its lack of one.
void SettingHelp::Describe(QWidget *Control, const QString &Tip, bool Designed)
{
    QWidget *Rows = Control->parentWidget();
    const int Middle = Control->geometry().center().y();
    for (QWidget *Other : Rows->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect Place = Other->geometry();
        // The buttons beside the zoom rows span both.
        if (Place.top() > Middle || Place.bottom() < Middle || qobject_cast<QPushButton *>(Other) != nullptr
            || (Designed && qobject_cast<QScrollBar *>(Other) != nullptr))
            continue;
        Other->setToolTip(Tip);
    }
}

void SettingHelp::DescribeAll(TForm1 &Form)
{
    const QString Drawn = tr("ビューに描くだけの値です。保存するデータにフェードは掛かりません。");
    const QString ViewOnly = tr("表示だけの設定です。コマンドラインにはありません。");
    const QString Samples = tr("単位: サンプル数。");
    const QString NoOption = tr("コマンドラインにはありません。");
    const struct {
        QWidget *Control;
        QString What, Unit, Option;
    } Rows[] = {
        {Form.SBVZ, tr("波形の縦の拡大率です。"), tr("単位: 1000 で最大振幅がビューの中心から128ピクセル。"), ViewOnly},
        {Form.SBHZ, tr("波形の横の縮小率です。"), tr("単位: 1ピクセルあたりのサンプル数。"), ViewOnly},
        {Form.SBCSL, tr("区間の外で、この値以上の音が来ると区間が始まります。"), LevelUnit(),
         CommandLine("--cut-start-level")},
        {Form.SBN, tr("この値以下の音は無音と見なします。"), LevelUnit(), CommandLine("--no-sound-level")},
        {Form.SBNW, tr("無音がこの長さ続くと区間が終わります。"), WidthUnit(), CommandLine("--no-sound-width")},
        {Form.SBML, tr("この長さより長い区間だけを残します (Join short がオンなら短い区間は隣と結合)。"), WidthUnit(),
         CommandLine("--min-size")},
        {Form.SBMZSS, tr("区間の前で、静かな始まりを探す範囲です。"), WidthUnit(), CommandLine("--backward-search")},
        {Form.SBMZSE, tr("区間の後で、静かな終わりを探す範囲です。"), WidthUnit(), CommandLine("--forward-search")},
        {Form.SBAFIL, tr("区間の始まりのフェードインの長さ。") + Drawn, Samples, NoOption},
        {Form.SBAFOL, tr("区間の終わりのフェードアウトの長さ。") + Drawn, Samples, NoOption},
        {Form.Settings->SBPAD, tr("各区間の前後に足す余白です (隣の区間には重なりません)。"), WidthUnit(), CommandLine("--pad")},
        {Form.Settings->SBLW, tr("音の大きさを1サンプルではなく、この幅のRMSで測ります。0 は1サンプルです。"), WidthUnit(),
         CommandLine("--level-window")},
        {Form.Settings->SBMAX, tr("これより長い区間は、その中の最も静かなところで切ります。0 は制限なしです。"), WidthUnit(),
         CommandLine("--max-size")},
        {Form.Settings->TargetBox, tr("Auto で1つの区間に入れるもの: 文 (sentence)、句 (phrase)、単語 (word)。"),
         tr("右の一覧は、切る位置を決めるときだけ使う周波数帯です: "
            "なし (off)、80 Hz 以上 (highpass)、80 Hz〜4 kHz (speech)。保存するデータはそのままです。"),
         CommandLine("--target, --band")},
    };
    // The rows built beside the designed ones.
    const QList<const QWidget *> Added{Form.Settings->SBPAD, Form.Settings->SBLW, Form.Settings->SBMAX, Form.Settings->TargetBox};
    for (const auto &Row : Rows)
        if (Row.Control != nullptr)
            Describe(Row.Control, Row.What + QLatin1Char('\n') + Row.Unit + QLatin1Char('\n') + Row.Option,
                     !Added.contains(Row.Control));
    if (Form.Settings->JoinShortBox != nullptr)
        Form.Settings->JoinShortBox->setToolTip(tr("Minimum size より短い区間を捨てずに、近い方の隣の区間と結合します "
                                         "(離れすぎていれば1つの区間として残します)。Auto ではオンになります。")
                                      + QLatin1Char('\n') + CommandLine("--join-short"));
    if (Form.SuggestButton != nullptr)
        Form.SuggestButton->setToolTip(
            tr("録音の雑音と声の大きさから設定を提案します (redivev-split --auto と同じ設定)。") + QLatin1Char('\n')
            + CommandLine("--auto"));
}

void DescribeSettings(TForm1 &Form)
{
    SettingHelp::DescribeAll(Form);
}
