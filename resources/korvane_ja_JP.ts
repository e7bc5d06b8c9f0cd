<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Body</name>
    <message>
        <source>yml generator</source>
        <translation>korvane</translation>
    </message>
    <message>
        <source>Drop XAFS DATA Files Here</source>
        <translation>XAFSデータファイルドロップ</translation>
    </message>
    <message>
        <source>OR</source>
        <translation>または</translation>
    </message>
    <message>
        <source>Load Data Files</source>
        <translation>XAFS データファイル読込</translation>
    </message>
    <message>
        <source>Set &quot;Create Work&quot; flag</source>
        <translation>「Work生成」フラグセット</translation>
    </message>
    <message>
        <source>Generate Works</source>
        <translation>Work 生成</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高さ</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>Image Size : </source>
        <translation>サムネイル画像サイズ</translation>
    </message>
    <message>
        <source>Original</source>
        <translation>変更なし</translation>
    </message>
    <message>
        <source>File Name In Work</source>
        <translation>Work に入れるデータファイル名</translation>
    </message>
    <message>
        <source>Canonical</source>
        <translation>正規化したファイル名</translation>
    </message>
    <message>
        <source>Work Folder Name : </source>
        <translation>Workフォルダ名生成規則</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Branch</source>
        <translation>枝名</translation>
    </message>
    <message>
        <source>Use Work Folder Name as Local Id</source>
        <translation>Workフォルダ名をローカルIDとしてメタデータに入れる</translation>
    </message>
    <message>
        <source>Common Props</source>
        <translation>共通(データによらない)属性</translation>
    </message>
    <message>
        <source>Generate from template</source>
        <translation>雛形から生成</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>読込</translation>
    </message>
    <message>
        <source>Props for each DATA</source>
        <translation>データ毎に入力が必要な属性</translation>
    </message>
    <message>
        <source>Gen. Work/not</source>
        <translation>Work生成する/しない(1/0)</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>%1 — %2 problems, the first: %3</source>
        <translation>%1 — 問題 %2 件、最初の問題: %3</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1。%2</translation>
    </message>
    <message>
        <source>%1; common properties %2, rows: %3</source>
        <translation>%1。共通属性 %2 (%3 行)</translation>
    </message>
    <message>
        <source>Common properties loaded from %1, rows: %2</source>
        <translation>共通属性を %1 から読み込みました (%2 行)</translation>
    </message>
    <message>
        <source>Common properties not loaded</source>
        <translation>共通属性を読み込めませんでした</translation>
    </message>
    <message>
        <source>Common properties not saved</source>
        <translation>共通属性を保存できませんでした</translation>
    </message>
    <message>
        <source>Common properties saved to %1, rows: %2</source>
        <translation>共通属性を %1 に保存しました (%2 行)</translation>
    </message>
    <message>
        <source>Common-properties template not saved</source>
        <translation>共通属性の雛形を保存できませんでした</translation>
    </message>
    <message>
        <source>Common-properties template saved to %1, rows: %2</source>
        <translation>共通属性の雛形を %1 に保存しました (%2 行)</translation>
    </message>
    <message>
        <source>Data files opened: %1</source>
        <translation>データファイルを開きました: %1 件</translation>
    </message>
    <message>
        <source>Data properties loaded from %1, rows: %2</source>
        <translation>データ毎の属性を %1 から読み込みました (%2 行)</translation>
    </message>
    <message>
        <source>Data properties not loaded</source>
        <translation>データ毎の属性を読み込めませんでした</translation>
    </message>
    <message>
        <source>Data properties not saved</source>
        <translation>データ毎の属性を保存できませんでした</translation>
    </message>
    <message>
        <source>Data properties saved to %1, rows: %2</source>
        <translation>データ毎の属性を %1 に保存しました (%2 行)</translation>
    </message>
    <message>
        <source>No opened data file is flagged for a work; none made in %1</source>
        <translation>「Work生成」フラグの立ったデータファイルがないため、%1 に Work は作成されませんでした</translation>
    </message>
    <message>
        <source>No template: works will have empty metadata</source>
        <translation>テンプレートなし: Work のメタデータは空になります</translation>
    </message>
    <message>
        <source>Template %1 read</source>
        <translation>テンプレート %1 を読み込みました</translation>
    </message>
    <message>
        <source>Works made in %1: %2 of %3</source>
        <translation>%1 に Work を作成しました: %3 件中 %2 件</translation>
    </message>
    <message>
        <source>template %1 cannot be read: %2</source>
        <translation>テンプレート %1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>Write XDI</source>
        <translation>XDI も書く</translation>
    </message>
    <message>
        <source>picture</source>
        <comment>catalogue column</comment>
        <translation>図</translation>
    </message>
    <message>
        <source>work</source>
        <comment>catalogue column</comment>
        <translation>Work</translation>
    </message>
    <message>
        <source>sample</source>
        <comment>catalogue column</comment>
        <translation>試料</translation>
    </message>
    <message>
        <source>start</source>
        <comment>catalogue column</comment>
        <translation>測定開始</translation>
    </message>
    <message>
        <source>beamline</source>
        <comment>catalogue column</comment>
        <translation>ビームライン</translation>
    </message>
    <message>
        <source>kind</source>
        <comment>catalogue column</comment>
        <translation>測定法</translation>
    </message>
    <message>
        <source>points</source>
        <comment>catalogue column</comment>
        <translation>点数</translation>
    </message>
    <message>
        <source>energy (eV)</source>
        <comment>catalogue column</comment>
        <translation>エネルギー (eV)</translation>
    </message>
    <message>
        <source>element</source>
        <comment>catalogue column</comment>
        <translation>元素</translation>
    </message>
    <message>
        <source>edge</source>
        <comment>catalogue column</comment>
        <translation>吸収端</translation>
    </message>
    <message>
        <source>files</source>
        <comment>catalogue column</comment>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>meta</source>
        <comment>catalogue link</comment>
        <translation>メタデータ</translation>
    </message>
    <message>
        <source>data</source>
        <comment>catalogue link</comment>
        <translation>データ</translation>
    </message>
    <message>
        <source>picture</source>
        <comment>catalogue link</comment>
        <translation>図</translation>
    </message>
    <message>
        <source>XDI</source>
        <comment>catalogue link</comment>
        <translation>XDI</translation>
    </message>
    <message>
        <source>fluorescence</source>
        <translation>蛍光法</translation>
    </message>
    <message>
        <source>transmission</source>
        <translation>透過法</translation>
    </message>
    <message>
        <source>Works in %1</source>
        <translation>%1 の Work</translation>
    </message>
    <message>
        <source>%1 works; made %2</source>
        <translation>Work %1 件、%2 作成</translation>
    </message>
    <message>
        <source>filter</source>
        <translation>絞り込み</translation>
    </message>
</context>
<context>
    <name>korvane::Body</name>
    <message>
        <source>Any Files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>XAFS Data Files (*.dat *.qd)</source>
        <translation>XAFS データファイル (*.dat *.qd)</translation>
    </message>
    <message>
        <source>Data Props File (*.csv)</source>
        <translation>データ毎属性ファイル (*.csv)</translation>
    </message>
    <message>
        <source>Common Props File (*.csv)</source>
        <translation>共通属性ファイル (*.csv)</translation>
    </message>
    <message>
        <source>Load Data Files</source>
        <translation>XAFS データファイル読込</translation>
    </message>
    <message>
        <source>Save Props of Data</source>
        <translation>データ毎に入力が必要な属性一覧の保存</translation>
    </message>
    <message>
        <source>Load Props of Data</source>
        <translation>データ毎に入力が必要な属性一覧の読込</translation>
    </message>
    <message>
        <source>Save Common Props Template</source>
        <translation>共通属性一覧の雛形作成</translation>
    </message>
    <message>
        <source>Save Common Props</source>
        <translation>共通属性一覧の保存</translation>
    </message>
    <message>
        <source>Load Common Props</source>
        <translation>共通属性一覧の読込</translation>
    </message>
    <message>
        <source>Save Works</source>
        <translation>Work の作成</translation>
    </message>
    <message>
        <source>Making works in %1 ...</source>
        <translation>%1 に Work を作成中…</translation>
    </message>
    <message>
        <source>already open</source>
        <translation>すでに開いています</translation>
    </message>
    <message>
        <source>not a local file</source>
        <translation>ローカルファイルではありません</translation>
    </message>
    <message>
        <source>works are being made; open it again when they are done</source>
        <translation>Work の作成中です。作成が終わってから開き直してください</translation>
    </message>
    <message>
        <source>XDI notes: %1</source>
        <translation>XDI の注意: %1 件</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation>一覧から外す</translation>
    </message>
    <message>
        <source>Takes the selected files off the list (Delete)</source>
        <translation>選択したファイルを一覧から外します (Delete)</translation>
    </message>
    <message>
        <source>Removed from the list: %1</source>
        <translation>一覧から外しました: %1</translation>
    </message>
    <message>
        <source>Open index.html</source>
        <translation>index.html を開く</translation>
    </message>
    <message>
        <source>Open catalogue.html</source>
        <translation>catalogue.html を開く</translation>
    </message>
</context>
<context>
    <name>korvane::ScanListModel</name>
    <message>
        <source>transmission</source>
        <translation>透過</translation>
    </message>
    <message>
        <source>fluorescence</source>
        <translation>蛍光</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>Work生成</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>試料</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>測定開始</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>測定法</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>点数</translation>
    </message>
    <message>
        <source>Energy range</source>
        <translation>エネルギー範囲</translation>
    </message>
</context>
<context>
    <name>PropUI</name>
    <message>
        <source>Comment</source>
        <translation>コメント</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>value</source>
        <translation>値</translation>
    </message>
    <message>
        <source>ymlKey</source>
        <translation>yaml キー</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>mut</source>
        <translation>μt</translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>the file ends at line %1 before the data section</source>
        <translation>データ部の前、%1 行目でファイルが終わっています</translation>
    </message>
    <message>
        <source>line %1: does not start with &quot;%2&quot;</source>
        <translation>%1 行目: &quot;%2&quot; で始まっていません</translation>
    </message>
    <message>
        <source>line %1: item %2 is &quot;%3&quot;, not &quot;%4&quot;</source>
        <translation>%1 行目: 項目 %2 が &quot;%4&quot; ではなく &quot;%3&quot; です</translation>
    </message>
    <message>
        <source>line 1: its first item is not &quot;%1&quot;</source>
        <translation>1 行目: 最初の項目が &quot;%1&quot; ではありません</translation>
    </message>
    <message>
        <source>the file has more than %1 data points</source>
        <translation>データ点が %1 点を超えています</translation>
    </message>
    <message>
        <source>cannot open the file: %1</source>
        <translation>ファイルを開けません: %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>its name holds a NUL character</source>
        <translation>名前に NUL 文字が含まれています</translation>
    </message>
    <message>
        <source>it is a directory</source>
        <translation>フォルダです</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>ファイル名がありません</translation>
    </message>
    <message>
        <source>it is larger than %1 MiB</source>
        <translation>%1 MiB を超えています</translation>
    </message>
    <message>
        <source>%1 leads round a loop of symbolic links</source>
        <translation>%1 はシンボリックリンクの循環につながっています</translation>
    </message>
    <message>
        <source>cannot rename %1 to %2: %3</source>
        <translation>%1 を %2 に名前変更できません: %3</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 はフォルダです</translation>
    </message>
    <message>
        <source>%1 is not writable</source>
        <translation>%1 は書き込みできません</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>not a readable 9809 data file</source>
        <translation>読み込める 9809 データファイルではありません</translation>
    </message>
    <message>
        <source>the data file is missing</source>
        <translation>データファイルがありません</translation>
    </message>
    <message>
        <source>the work folder can not be created</source>
        <translation>Work フォルダを作成できません</translation>
    </message>
    <message>
        <source>the image can not be saved to %1</source>
        <translation>画像を %1 に保存できません</translation>
    </message>
    <message>
        <source>an image of %1 x %2 pixels is too large (at most %3 pixels)</source>
        <translation>%1 x %2 ピクセルの画像は大きすぎます (最大 %3 ピクセル)</translation>
    </message>
    <message>
        <source>an image of %1 x %2 pixels can not be allocated</source>
        <translation>%1 x %2 ピクセルの画像のメモリを確保できません</translation>
    </message>
    <message>
        <source>no absorption edge found in the data: the XDI names no element</source>
        <translation>データに吸収端が見つかりません: XDI には元素を書きません</translation>
    </message>
    <message>
        <source>no tabulated edge near the step at %1 eV: the XDI names no element</source>
        <translation>%1 eV の立ち上がりの近くに表の吸収端がありません: XDI には元素を書きません</translation>
    </message>
    <message>
        <source>the edge at %1 eV may be %2 %3 or %4; the XDI says %2 %3</source>
        <translation>%1 eV の吸収端は %2 %3 とも %4 とも取れます: XDI には %2 %3 と書きました</translation>
    </message>
    <message>
        <source>no XDI: it would have %1 lines, more than the %2 its readers take</source>
        <translation>XDI なし: %1 行になり、読み込めるのは %2 行までです</translation>
    </message>
    <message>
        <source>no XDI: a line would be longer than the %1 characters its readers take</source>
        <translation>XDI なし: 読み込めるのは %1 文字までの行ですが、それより長い行になります</translation>
    </message>
</context>
</TS>
