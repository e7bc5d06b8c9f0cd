// The common-properties sheet of a real main window: generating, loading and saving the file, and
// what the rows show afterwards: a value field turns pink when it differs from the value before the
// last load, white when it shows that value again.

#include "props/CommonProps.h"
#include "props/PropUi.h"

#include "TestSupport.h"

namespace {

// Each row as the texts of its first cells in the window's grid; with all
// five, then the colour of its value field.
QString rowTexts(const Body &body, int cells = 5)
{
    const QMap<QString, QString> colours{{"", "-"},
                                         {"background-color: rgb(255, 192, 192);", "pink"},
                                         {"background-color: rgb(255, 255, 255);", "white"}};
    QStringList texts;
    for (int r = 0; r < body.propRows.size(); ++r) {
        QStringList row;
        for (int c = 0; c < cells; ++c) {
            QLayoutItem *item = body.ui.PropListLayout->itemAtPosition(r, c);
            row << (item && item->widget() ? item->widget()->property("text").toString() : "?");
        }
        const QString style = body.propRows[r]->valueEdit()->styleSheet();
        if (cells == 5)
            row << colours.value(style, style);
        texts << row.join('|');
    }
    return texts.join(';');
}

} // namespace

class TestCommonProps : public QObject
{
    Q_OBJECT
private slots:
    void generate();
    void load_data();
    void load();
};

// Only semi_fix lines, in their order, with the key's blanks made dots.
void TestCommonProps::generate()
{
    MetaTemplate tpl;
    loadTemplateText(tpl, "p:\n  - n: P_1 semi_fix \"A. P\" \"\" who\n  m: P_2 input/semi_fix\n"
                          "j: I_1 semi_fix -- \"\" \"j n\"\n  r: P_3 semi_fix/input\n"
                          "  b: F_2 from_data\n::block_start blk B_1 semi_fix 1 \"\" switch\n");
    QCOMPARE(commonPropsTemplateText(tpl),
             "\"P_1\",\"A. P\",\"who\",\"..-.n:\"\n\"I_1\",\"--\",\"j "
             "n\",\"j:\"\n\"B_1\",\"1\",\"switch\",\"block_start\"\n");
}

void TestCommonProps::load_data()
{
    // Files loaded in turn, the first one when the window is built; lines end at ';', a
    // missing file is "!".
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("edit"); // "<row>:<keys>" typed at the end of a value

    const auto row = [](const char *name, QString files, QString rows, QString edit = {}) {
        QTest::newRow(name) << files << rows << edit;
    };
    const QString ab = "A,1,a,k;B,2,b,l|";
    row("new id appended", ab + "C,3,c,m;A,1,a,k", "A|1|a|k|1|-;B|2|b|l||-;C|3|c|m||-");
    row("empty line finds the empty row", ";A,1,c,k|", "|||||-;A|1|c|k||-");
    row("missing and surplus fields", "A,1;B;C,3,c,k,x", "A|1||||-;B|||||-;C|3|c|k||-");
    row("comment and key kept", ab + "A,1,x,k;B,2,b,x", "A|1|a|k|1|-;B|2|b|l|2|-");
    row("missing file in between", ab + "!|B,5,b,l", "A|1|a|k||-;B|5|b|l|2|pink");
    row("former value typed back", ab + "B,5,b,l", "A|1|a|k||-;B|2|b|l|2|white", "1:\b2");
    row("quotes, commas, backslashes", R"(;A,"x,""y""\z","a, b",..k:)",
        R"(|||||-;A|x,"y"\z "q"|a, b|..k:||pink)", R"(1: "q")");
}

// Every row then saved and loaded into a new window reads the same.
void TestCommonProps::load()
{
    QFETCH(QString, files);
    QFETCH(QString, edit);
    QTemporaryDir dir;
    QStringList paths;
    const QStringList contents = files.split('|');
    for (const QString &file : contents) {
        paths << dir.filePath(QString("c%1.csv").arg(paths.size()));
        QVERIFY(file == "!" ||
                writeTextFile(paths.last(), QString(file).replace(';', '\n') + '\n'));
    }
    const QStringList words{"-t", dir.filePath("no-template.yml"), "-p"};
    auto body = makeBody(words + paths.mid(0, 1));
    body->show();
    for (int i = 1; i < paths.size(); ++i) {
        QString why;
        QCOMPARE(body->readCommProps(paths.at(i), &why), contents[i] != "!");
        QCOMPARE(why.isEmpty(), contents[i] != "!");
        // The labels follow every load, also one that reads nothing.
        QCOMPARE(body->ui.NewCommPropsFileName->text(), paths.at(i));
        QCOMPARE(body->ui.OldCommPropsFileName->text(), paths.at(i - 1));
    }
    if (!edit.isEmpty())
        QTest::keyClicks(body->propRows.at(edit.section(':', 0, 0).toInt())->valueEdit(),
                         edit.section(':', 1));
    QTEST(rowTexts(*body), "rows");
    // Rows added to the shown window appear in it; their frames never do.
    QCoreApplication::processEvents();
    for (const PropUi *row : qAsConst(body->propRows))
        QVERIFY(row->idLabel()->isVisible() && row->oldValueEdit()->isVisible() &&
                !row->isVisible());
    const QString out = dir.filePath("commProps.csv");
    QString why;
    QVERIFY2(body->writeCommProps(out, &why), qPrintable(why));
    QCOMPARE(rowTexts(*makeBody(words + QStringList{out}), 4), rowTexts(*body, 4));
}

QTEST_MAIN(TestCommonProps)
#include "TestCommonProps.moc"
