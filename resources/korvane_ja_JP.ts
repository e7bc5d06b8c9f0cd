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
        <source>Generate ()</source>
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
        <source>Gen. Work/not</source>
        <translation>Work生成する/しない(1/0)</translation>
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
</TS>
