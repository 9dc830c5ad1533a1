#include "app/HelpGuide.h"

#include "app/Unit1.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString Text(const char *Source)
{
    return QCoreApplication::translate("HelpGuide", Source);
}

// Each topic: a heading and a paragraph.
const char *const Topics[][2] = {
    {QT_TRANSLATE_NOOP("HelpGuide", "使い方"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "「ファイル」→「WAVの読込」で録音を開き、"
                       "「処理」→「自動切り出し」(または Trim!) で区間に分け、"
                       "「処理」→「切り出した範囲をまとめて保存」で区間ごとのファイルを出力先フォルダに書きます。"
                       "区間はラベルファイルとして書き出し、読み込むこともできます (「ファイル」メニュー)。")},
    {QT_TRANSLATE_NOOP("HelpGuide", "Auto"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "録音の雑音と声の大きさを測り、ツールウィンドウの設定を提案して書き込みます "
                       "(redivev-split --auto と同じ設定)。"
                       "Target の一覧で、1つの区間に入れるものを文・句・単語から選べます。"
                       "「処理」→「提案の前の設定に戻す」で元の設定に戻ります。")},
    {QT_TRANSLATE_NOOP("HelpGuide", "Trim!"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "今の設定で録音全体を区間に分けます (「処理」→「自動切り出し」と同じ)。"
                       "区間は波形の上に色付きで表示され、手で直せます (「編集」メニュー、Shift+ドラッグで追加)。")},
    {QT_TRANSLATE_NOOP("HelpGuide", "ガイドの線"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "波形の上の緑の線は設定を表します。"
                       "Cut Start と No Sound Level の枠はレベル (区間を始める音と無音の上限)、"
                       "上の No Sound Width と Minimum Size の線は幅、"
                       "下の Zero Search の線は静かな点を探す範囲、"
                       "Fade Width の線はフェードの長さです。"
                       "Center Position と Max Position は0と最大の振幅です。")},
    {QT_TRANSLATE_NOOP("HelpGuide", "フェードの行"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "Auto fadein length と Auto fadeout length はビューに描くだけです。"
                       "保存するデータにはフェードは掛かりません。")},
    {QT_TRANSLATE_NOOP("HelpGuide", "設定の入力"),
     QT_TRANSLATE_NOOP("HelpGuide",
                       "各行の欄には値を直接入力できます: レベルは 1000 や -40dB、幅は 4410 や 0.4s、400ms のように。"
                       "行にマウスを置くと、その設定の説明、単位、コマンドラインでの名前が出ます。")},
};

void ShowGuide(TForm1 &Form)
{
    auto *Guide = Form.findChild<QDialog *>(QStringLiteral("HelpGuide"), Qt::FindDirectChildrenOnly);
    if (Guide == nullptr) {
        Guide = new QDialog(&Form);
        Guide->setObjectName(QStringLiteral("HelpGuide"));
        Guide->setWindowTitle(Text(QT_TRANSLATE_NOOP("HelpGuide", "Redivev の使い方")));
        auto *Layout = new QVBoxLayout(Guide);
        auto *Page = new QTextBrowser(Guide);
        Page->setObjectName(QStringLiteral("HelpGuidePage"));
        QString Html;
        for (const auto &Topic : Topics)
            Html += QStringLiteral("<h3>%1</h3><p>%2</p>")
                        .arg(Text(Topic[0]).toHtmlEscaped(), Text(Topic[1]).toHtmlEscaped());
        Page->setHtml(Html);
        Layout->addWidget(Page);
        auto *Buttons = new QDialogButtonBox(QDialogButtonBox::Close, Guide);
        QObject::connect(Buttons, &QDialogButtonBox::rejected, Guide, &QDialog::hide);
        Layout->addWidget(Buttons);
        Guide->resize(520, 460);
    }
    Guide->show();
    Guide->raise();
    Guide->activateWindow();
}

} // namespace

void CreateHelpMenu(TForm1 &Form)
{
    QMenu *Menu = Form.menuBar()->addMenu(Text(QT_TRANSLATE_NOOP("HelpGuide", "ヘルプ")));
    Menu->setObjectName(QStringLiteral("HelpMenu"));
    QAction *Show = Menu->addAction(Text(QT_TRANSLATE_NOOP("HelpGuide", "使い方")));
    Show->setObjectName(QStringLiteral("HelpGuideAction"));
    Show->setShortcut(QKeySequence::HelpContents);
    QObject::connect(Show, &QAction::triggered, &Form, [&Form] { ShowGuide(Form); });
}
