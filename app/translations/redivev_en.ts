<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Engine</name>
    <message>
        <source>ファイル %1 は開けません</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません</source>
        <translation>Cannot create the file %1</translation>
    </message>
    <message>
        <source>ストリームからの読み込みエラー</source>
        <translation>Error reading from the file</translation>
    </message>
    <message>
        <source>ストリームへの書き込みエラー</source>
        <translation>Error writing to the file</translation>
    </message>
    <message>
        <source>メモリが不足しています</source>
        <translation>Not enough memory</translation>
    </message>
    <message>
        <source>TZuInternalWave.LoadFromFile:Not a waveform-audio file.</source>
        <translation>Not a waveform-audio (WAV) file.</translation>
    </message>
    <message>
        <source>TZuInternalWave.LoadFromFile:Unable to locate fmt chunk.</source>
        <translation>The WAV file has no fmt chunk.</translation>
    </message>
    <message>
        <source>TZuInternalWave.LoadfromFile:Error reading fmt chunk.</source>
        <translation>The WAV file&apos;s fmt chunk cannot be read.</translation>
    </message>
    <message>
        <source>TZuInternalWave.LoadfromFile:Unable to locate data chunk.</source>
        <translation>The WAV file has no data chunk.</translation>
    </message>
    <message>
        <source>TZuInternalWave.LoadfromFile:Error reading data chunk.</source>
        <translation>The WAV file&apos;s data chunk cannot be read.</translation>
    </message>
    <message>
        <source>TZuInternalWave.play:Device is recording or playing waveform now.</source>
        <translation>The sound device is busy recording or playing.</translation>
    </message>
    <message>
        <source>TZuInternalWave.Play:%1</source>
        <translation>Cannot play: %1</translation>
    </message>
    <message>
        <source>TZuInternalWave.SaveToFile:Failed to open file.</source>
        <translation>Cannot open the file to save.</translation>
    </message>
    <message>
        <source>TZuInternalWave.SaveToFile:Failed to close file.</source>
        <translation>Cannot finish saving the file.</translation>
    </message>
</context>
<context>
    <name>HelpGuide</name>
    <message>
        <source>使い方</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>「ファイル」→「WAVの読込」で録音を開き、「処理」→「自動切り出し」(または Trim!) で区間に分け、「処理」→「切り出した範囲をまとめて保存」で区間ごとのファイルを出力先フォルダに書きます。区間はラベルファイルとして書き出し、読み込むこともできます (「ファイル」メニュー)。</source>
        <translation>Open a recording with File → Open WAV, cut it into pieces with Process → Auto trim (or Trim!), and write one file per piece into the output folder with Process → Save all trimmed areas. The pieces can also be written to and read from a label file (File menu).</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>録音の雑音と声の大きさを測り、ツールウィンドウの設定を提案して書き込みます (redivev-split --auto と同じ設定)。Target の一覧で、1つの区間に入れるものを文・句・単語から選べます。「処理」→「提案の前の設定に戻す」で元の設定に戻ります。</source>
        <translation>Measures the recording&apos;s noise and speech levels and fills in the tool window&apos;s settings it suggests (the same settings as redivev-split --auto). The Target list chooses what a piece holds: a sentence, a phrase or a word. Process → Restore the settings before the suggestion takes them back.</translation>
    </message>
    <message>
        <source>Trim!</source>
        <translation>Trim!</translation>
    </message>
    <message>
        <source>今の設定で録音全体を区間に分けます (「処理」→「自動切り出し」と同じ)。区間は波形の上に色付きで表示され、手で直せます (「編集」メニュー、Shift+ドラッグで追加)。</source>
        <translation>Cuts the whole recording into pieces with the current settings (the same as Process → Auto trim). The pieces are shown coloured over the waveform and can be corrected by hand (Edit menu; Shift+drag adds one).</translation>
    </message>
    <message>
        <source>ガイドの線</source>
        <translation>Guide marks</translation>
    </message>
    <message>
        <source>波形の上の緑の線は設定を表します。Cut Start と No Sound Level の枠はレベル (区間を始める音と無音の上限)、上の No Sound Width と Minimum Size の線は幅、下の Zero Search の線は静かな点を探す範囲、Fade Width の線はフェードの長さです。Center Position と Max Position は0と最大の振幅です。</source>
        <translation>The green lines over the waveform show the settings. The Cut Start and No Sound Level frames are levels (the sound that starts a piece, and the highest level counted as silence); the No Sound Width and Minimum Size lines at the top are widths; the Zero Search line at the bottom is the reach of the search for a quiet point; the Fade Width line is the fades&apos; length. Center Position and Max Position mark zero and full scale.</translation>
    </message>
    <message>
        <source>フェードの行</source>
        <translation>The fade rows</translation>
    </message>
    <message>
        <source>Auto fadein length と Auto fadeout length はビューに描くだけです。保存するデータにはフェードは掛かりません。</source>
        <translation>Auto fade-in length and Auto fade-out length are only drawn in the view: the pieces are written without fades.</translation>
    </message>
    <message>
        <source>設定の入力</source>
        <translation>Typing settings</translation>
    </message>
    <message>
        <source>各行の欄には値を直接入力できます: レベルは 1000 や -40dB、幅は 4410 や 0.4s、400ms のように。行にマウスを置くと、その設定の説明、単位、コマンドラインでの名前が出ます。</source>
        <translation>Each row&apos;s box takes a typed value: a level as 1000 or -40dB, a width as 4410, 0.4s or 400ms. Resting the mouse on a row tells what the setting does, its unit and its name on the command line.</translation>
    </message>
    <message>
        <source>Redivev の使い方</source>
        <translation>Redivev guide</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>Redivev</name>
    <message>
        <source>wavファイルが他のプログラムによって短くなりました。もう一度開いてください
</source>
        <translation>Another program has shortened the WAV file. Open it again
</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>フォルダを開けませんでした
</source>
        <translation>The folder could not be opened
</translation>
    </message>
    <message>
        <source>このwavファイルの形式には対応していません
</source>
        <translation>This WAV file&apos;s format is not supported
</translation>
    </message>
    <message>
        <source>切り出した範囲が重なっているため、保存するデータは%1になり、録音(%2)の%3倍です。保存しますか？</source>
        <translation>The trimmed areas overlap, so the data to save is %1, %3 times the recording (%2). Save it?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>「%1」は設定できません。%2</source>
        <translation>&quot;%1&quot; cannot be set. %2</translation>
    </message>
    <message>
        <source>レベルは 1000 や -40dB のように入力してください。</source>
        <translation>Type a level as 1000 or -40dB.</translation>
    </message>
    <message>
        <source>幅は 4410 や 0.4s、400ms のように入力してください。</source>
        <translation>Type a width as 4410, 0.4s or 400ms.</translation>
    </message>
</context>
<context>
    <name>SettingHelp</name>
    <message>
        <source>単位: 16ビットのサンプル値 (0〜32768)。-30dB のように dBFS でも入力できます。</source>
        <translation>Unit: a 16-bit sample level (0 to 32768); a level in dBFS may be typed, as -30dB.</translation>
    </message>
    <message>
        <source>単位: サンプル数。0.4s や 400ms のように時間でも入力できます。</source>
        <translation>Unit: samples; a time may be typed, as 0.4s or 400ms.</translation>
    </message>
    <message>
        <source>コマンドライン: %1</source>
        <translation>Command line: %1</translation>
    </message>
    <message>
        <source>ビューに描くだけの値です。保存するデータにフェードは掛かりません。</source>
        <translation> Only drawn in the view: the pieces are written without fades.</translation>
    </message>
    <message>
        <source>区間の外で、この値以上の音が来ると区間が始まります。</source>
        <translation>Outside a piece, sound at least this loud starts one.</translation>
    </message>
    <message>
        <source>この値以下の音は無音と見なします。</source>
        <translation>Sound at most this loud counts as silence.</translation>
    </message>
    <message>
        <source>無音がこの長さ続くと区間が終わります。</source>
        <translation>A silence this long ends a piece.</translation>
    </message>
    <message>
        <source>この長さより長い区間だけを残します (Join short がオンなら短い区間は隣と結合)。</source>
        <translation>A piece is kept only when longer than this (with Join short, a shorter one joins a neighbour).</translation>
    </message>
    <message>
        <source>区間の前で、静かな始まりを探す範囲です。</source>
        <translation>Reach of the search before a piece for a quiet start.</translation>
    </message>
    <message>
        <source>区間の後で、静かな終わりを探す範囲です。</source>
        <translation>Reach of the search after a piece for a quiet end.</translation>
    </message>
    <message>
        <source>区間の始まりのフェードインの長さ。</source>
        <translation>Length of the fade-in at a piece&apos;s start.</translation>
    </message>
    <message>
        <source>単位: サンプル数。</source>
        <translation>Unit: samples.</translation>
    </message>
    <message>
        <source>コマンドラインにはありません。</source>
        <translation>Not on the command line.</translation>
    </message>
    <message>
        <source>区間の終わりのフェードアウトの長さ。</source>
        <translation>Length of the fade-out at a piece&apos;s end.</translation>
    </message>
    <message>
        <source>各区間の前後に足す余白です (隣の区間には重なりません)。</source>
        <translation>Margin added before and after each piece (never into its neighbours).</translation>
    </message>
    <message>
        <source>音の大きさを1サンプルではなく、この幅のRMSで測ります。0 は1サンプルです。</source>
        <translation>Levels are the RMS over a window this wide instead of one sample; 0 is one sample.</translation>
    </message>
    <message>
        <source>これより長い区間は、その中の最も静かなところで切ります。0 は制限なしです。</source>
        <translation>A longer piece is cut at its quietest moments; 0 is no limit.</translation>
    </message>
    <message>
        <source>Auto で1つの区間に入れるもの: 文 (sentence)、句 (phrase)、単語 (word)。</source>
        <translation>What Auto puts in one piece: a sentence, a phrase or a word.</translation>
    </message>
    <message>
        <source>右の一覧は、切る位置を決めるときだけ使う周波数帯です: なし (off)、80 Hz 以上 (highpass)、80 Hz〜4 kHz (speech)。保存するデータはそのままです。</source>
        <translation>The list on the right is the band levels are read in to decide where cuts go: all of it (off), above 80 Hz (highpass) or 80 Hz to 4 kHz (speech). The pieces keep every sample.</translation>
    </message>
    <message>
        <source>Minimum size より短い区間を捨てずに、近い方の隣の区間と結合します (離れすぎていれば1つの区間として残します)。Auto ではオンになります。</source>
        <translation>Keeps pieces shorter than Minimum size: each joins its nearer neighbour, or stays a piece of its own when too far from both. On with Auto.</translation>
    </message>
    <message>
        <source>録音の雑音と声の大きさから設定を提案します (redivev-split --auto と同じ設定)。</source>
        <translation>Suggests the settings from the recording&apos;s noise and speech levels (the same settings as redivev-split --auto).</translation>
    </message>
    <message>
        <source>表示だけの設定です。コマンドラインにはありません。</source>
        <translation>Only for the view; not on the command line.</translation>
    </message>
    <message>
        <source>波形の縦の拡大率です。</source>
        <translation>How far the waveform is stretched vertically.</translation>
    </message>
    <message>
        <source>単位: 1000 で最大振幅がビューの中心から128ピクセル。</source>
        <translation>Unit: at 1000, full scale stands 128 pixels from the mid line.</translation>
    </message>
    <message>
        <source>波形の横の縮小率です。</source>
        <translation>How far the waveform is squeezed horizontally.</translation>
    </message>
    <message>
        <source>単位: 1ピクセルあたりのサンプル数。</source>
        <translation>Unit: samples per pixel.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Redivev</source>
        <translation>Redivev</translation>
    </message>
    <message>
        <source>Vertical Zoom</source>
        <translation>Vertical zoom</translation>
    </message>
    <message>
        <source>Horizontal Zoom</source>
        <translation>Horizontal zoom</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Trim!</source>
        <translation>Trim!</translation>
    </message>
    <message>
        <source>Cut start level</source>
        <translation>Cut start level</translation>
    </message>
    <message>
        <source>No sound level</source>
        <translation>No sound level</translation>
    </message>
    <message>
        <source>width of no sound level</source>
        <translation>No sound width</translation>
    </message>
    <message>
        <source>Minimum size</source>
        <translation>Minimum size</translation>
    </message>
    <message>
        <source>Backword Level</source>
        <translation>Backward search</translation>
    </message>
    <message>
        <source>Forword Level</source>
        <translation>Forward search</translation>
    </message>
    <message>
        <source>Auto fadein length</source>
        <translation>Auto fade-in length</translation>
    </message>
    <message>
        <source>Auto fadeout length</source>
        <translation>Auto fade-out length</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>調整</source>
        <translation>&amp;Adjust</translation>
    </message>
    <message>
        <source>処理</source>
        <translation>&amp;Process</translation>
    </message>
    <message>
        <source>WAVの読込</source>
        <translation>Open WAV...</translation>
    </message>
    <message>
        <source>音量を割れない範囲で最大にする</source>
        <translation>Maximise the volume without clipping</translation>
    </message>
    <message>
        <source>自動切り出し</source>
        <translation>Auto trim</translation>
    </message>
    <message>
        <source>切り出した範囲をまとめて保存</source>
        <translation>Save all trimmed areas</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>範囲を削除</source>
        <translation>Delete area</translation>
    </message>
    <message>
        <source>カーソル位置で分割</source>
        <translation>Split at the cursor</translation>
    </message>
    <message>
        <source>次の範囲と結合</source>
        <translation>Join with the next area</translation>
    </message>
    <message>
        <source>自動切り出しをしています...</source>
        <translation>Trimming...</translation>
    </message>
    <message>
        <source>切り出した範囲を保存しています...
</source>
        <translation>Saving the trimmed areas...
</translation>
    </message>
    <message>
        <source>出力先のフォルダには別の分割が書き込み中です。終わるのを待っています。
</source>
        <translation>Another split is writing into the output folder. Waiting for it to finish.
</translation>
    </message>
    <message>
        <source>開いているwavファイルが出力先にあるため分割できません
</source>
        <translation>Cannot split: the open WAV file is in the output folder
</translation>
    </message>
    <message>
        <source>元のwavファイルに問題があります
</source>
        <translation>The source WAV file has a problem
</translation>
    </message>
    <message>
        <source>出力先のフォルダに書き込めません
</source>
        <translation>Cannot write into the output folder
</translation>
    </message>
    <message>
        <source>出力先のフォルダは別の分割が使用中のため、分割を取り消しました
</source>
        <translation>The split was cancelled: another split is using the output folder
</translation>
    </message>
    <message>
        <source>保存を取り消しました。それまでに保存したファイルは出力先に残っています
</source>
        <translation>Saving was cancelled. The files saved until then remain in the output folder
</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>分割しました。作成されたデータのフォルダを開きますか？</source>
        <translation>Split done. Open the folder of the files made?</translation>
    </message>
    <message>
        <source>このwavファイルの3チャンネル目以降は再生されません</source>
        <translation>Channels after the second of this WAV file are not played</translation>
    </message>
    <message>
        <source>ラベルを書き出す</source>
        <translation>Export labels</translation>
    </message>
    <message>
        <source>ラベルを読み込む</source>
        <translation>Import labels</translation>
    </message>
    <message>
        <source>切り出した範囲をラベル名で保存</source>
        <translation>Save the trimmed areas under their label names</translation>
    </message>
    <message>
        <source>ラベルファイル (*.txt)</source>
        <translation>Label files (*.txt)</translation>
    </message>
    <message>
        <source>開いているwavファイルにラベルは書き出せません
</source>
        <translation>Labels cannot be written over the open WAV file
</translation>
    </message>
    <message>
        <source>ラベルを書き出せません
</source>
        <translation>Cannot write the labels
</translation>
    </message>
    <message>
        <source>ラベルファイルを読み込めません
</source>
        <translation>Cannot read the label file
</translation>
    </message>
    <message>
        <source>ラベルを読み込んだ範囲ではないため、ラベル名では保存できません</source>
        <translation>The areas were not read from labels, so they cannot be saved under label names</translation>
    </message>
    <message>
        <source>無音のため音量を変更できません</source>
        <translation>The recording is silent: its volume cannot be changed</translation>
    </message>
    <message>
        <source>出力先フォルダの選択...</source>
        <translation>Choose the output folder...</translation>
    </message>
    <message>
        <source>設定を初期値に戻す</source>
        <translation>Reset the settings</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ツールウィンドウ</source>
        <translation>Tool window</translation>
    </message>
    <message>
        <source>出力先フォルダの選択</source>
        <translation>Choose the output folder</translation>
    </message>
    <message>
        <source>設定を録音から提案</source>
        <translation>Suggest settings from the recording</translation>
    </message>
    <message>
        <source>提案の前の設定に戻す</source>
        <translation>Restore the settings before the suggestion</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>Join short</source>
        <translation>Join short</translation>
    </message>
    <message>
        <source>設定を録音から提案しています...</source>
        <translation>Suggesting settings from the recording...</translation>
    </message>
    <message>
        <source>Play this trim area</source>
        <translation>Play this trim area</translation>
    </message>
    <message>
        <source>WAVEファイル (*.wav)</source>
        <translation>WAVE files (*.wav)</translation>
    </message>
    <message>
        <source>Center Position</source>
        <translation>Center Position</translation>
    </message>
    <message>
        <source>Max Position</source>
        <translation>Max Position</translation>
    </message>
    <message>
        <source>Cut Start</source>
        <translation>Cut Start</translation>
    </message>
    <message>
        <source>No Sound Level</source>
        <translation>No Sound Level</translation>
    </message>
    <message>
        <source>Fade Width</source>
        <translation>Fade Width</translation>
    </message>
    <message>
        <source>Out</source>
        <translation>Out</translation>
    </message>
    <message>
        <source>In</source>
        <translation>In</translation>
    </message>
    <message>
        <source>Zero Search</source>
        <translation>Zero Search</translation>
    </message>
    <message>
        <source>Backword</source>
        <translation>Backward</translation>
    </message>
    <message>
        <source>Forword</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>No Sound Width</source>
        <translation>No Sound Width</translation>
    </message>
    <message>
        <source>Minimum Size</source>
        <translation>Minimum Size</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>全体を表示</source>
        <translation>Whole recording</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>P&amp;lay</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBCSL</comment>
        <translation>Outside a piece, sound at least this loud starts one.
Unit: a 16-bit sample level (0 to 32768); a level in dBFS may be typed, as -30dB.
Command line: --cut-start-level</translation>
    </message>
    <message>
        <source>無音領域</source>
        <comment>SBN</comment>
        <translation>Sound at most this loud counts as silence.
Unit: a 16-bit sample level (0 to 32768); a level in dBFS may be typed, as -30dB.
Command line: --no-sound-level</translation>
    </message>
    <message>
        <source>無音判断時間</source>
        <comment>SBNW</comment>
        <translation>A silence this long ends a piece.
Unit: samples; a time may be typed, as 0.4s or 400ms.
Command line: --no-sound-width</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBML</comment>
        <translation>A piece is kept only when longer than this (with Join short, a shorter one joins a neighbour).
Unit: samples; a time may be typed, as 0.4s or 400ms.
Command line: --min-size</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBMZSS</comment>
        <translation>Reach of the search before a piece for a quiet start.
Unit: samples; a time may be typed, as 0.4s or 400ms.
Command line: --backward-search</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBMZSE</comment>
        <translation>Reach of the search after a piece for a quiet end.
Unit: samples; a time may be typed, as 0.4s or 400ms.
Command line: --forward-search</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBAFIL</comment>
        <translation>Length of the fade-in at a piece&apos;s start. Only drawn in the view: the pieces are written without fades.
Unit: samples.
Not on the command line.</translation>
    </message>
    <message>
        <source>最短データ長</source>
        <comment>SBAFOL</comment>
        <translation>Length of the fade-out at a piece&apos;s end. Only drawn in the view: the pieces are written without fades.
Unit: samples.
Not on the command line.</translation>
    </message>
    <message>
        <source>Pad</source>
        <translation>Pad</translation>
    </message>
    <message>
        <source>Level window</source>
        <translation>Level window</translation>
    </message>
    <message>
        <source>Max size</source>
        <translation>Max size</translation>
    </message>
    <message numerus="yes">
        <source>。雑音より%1 dB大きい音が%nか所 (最初は%2秒) どの区間にも入っていません</source>
        <translation>
            <numerusform>. Sound %1 dB above the noise is left out of every piece in %n place (at %2 s)</numerusform>
            <numerusform>. Sound %1 dB above the noise is left out of every piece in %n places (the first at %2 s)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n個に分割されました</source>
        <translation>
            <numerusform>Cut into %n piece</numerusform>
            <numerusform>Cut into %n pieces</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n個の範囲をラベルに書き出しました</source>
        <translation>
            <numerusform>%n area written to the label file</numerusform>
            <numerusform>%n areas written to the label file</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n個の範囲を読み込みました</source>
        <translation>
            <numerusform>%n area read from the label file</numerusform>
            <numerusform>%n areas read from the label file</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>録音は無音です。切り出す声がありません。自動切り出しで%n個に分割されます</source>
        <translation>
            <numerusform>The recording is silent: there is no speech to cut out. Auto trim cuts it into %n piece</numerusform>
            <numerusform>The recording is silent: there is no speech to cut out. Auto trim cuts it into %n pieces</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>録音はずっと %1 dBFS 前後で、雑音を測れる静かな部分も、声と見なせる大きな部分もありません。自動切り出しで%n個に分割されます</source>
        <translation>
            <numerusform>The recording stays around %1 dBFS throughout, with no quiet part to measure the noise on and no loud part to take for speech. Auto trim cuts it into %n piece</numerusform>
            <numerusform>The recording stays around %1 dBFS throughout, with no quiet part to measure the noise on and no loud part to take for speech. Auto trim cuts it into %n pieces</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>雑音 %1 dBFS、声 %2 dBFS から設定を提案しました。自動切り出しで%n個に分割されます</source>
        <translation>
            <numerusform>Settings suggested from noise at %1 dBFS and speech at %2 dBFS. Auto trim cuts the recording into %n piece</numerusform>
            <numerusform>Settings suggested from noise at %1 dBFS and speech at %2 dBFS. Auto trim cuts the recording into %n pieces</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n個のファイル: %1</source>
        <translation>
            <numerusform>%n file: %1</numerusform>
            <numerusform>%n files: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ラベルに書き出す(&amp;S)</source>
        <translation>&amp;Save as labels</translation>
    </message>
    <message>
        <source>書き出さない(&amp;N)</source>
        <translation>Do&amp;n&apos;t save</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>手で直した範囲がまだ保存されていません。ラベルに書き出しますか？</source>
        <translation>The areas you corrected by hand are not saved yet. Save them as labels?</translation>
    </message>
    <message>
        <source>この録音を前に開いたときの%1個の範囲があります。読み込みますか？</source>
        <translation>There are %1 areas from when this recording was last open. Load them?</translation>
    </message>
    <message>
        <source>読み込んでいます...</source>
        <translation>Loading...</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Tool Window</source>
        <translation>Tool Window</translation>
    </message>
</context>
<context>
    <name>TLevelReading</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1: 波形を読み込めません: %2</source>
        <translation>%1: cannot read the waveform: %2</translation>
    </message>
    <message>
        <source>%1: 波形の読み込みを中止しました (%2%)</source>
        <translation>%1: reading the waveform stopped (%2%)</translation>
    </message>
    <message>
        <source>%1: 波形を読み込んでいます... %2%</source>
        <translation>%1: reading the waveform... %2%</translation>
    </message>
</context>
</TS>
