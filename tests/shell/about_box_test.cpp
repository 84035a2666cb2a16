#include "about_box.h"
#include "window_rig.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using tarmel::test::WindowRig;

class AboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void opensCollapsedWithThePhoto();
    void historyButtonExpandsAndCollapsesReadingTheFileAgain();
    void historyButtonStepsByHeight_data();
    void historyButtonStepsByHeight();
    void missingHistoryKeepsTheBoxAsItIs();
    void closeReturnsToTheMainWindowAndReopensCollapsed();
    void missingPhotoIsReportedAndTheStartGoesOn();
};

void AboutBoxTest::opensCollapsedWithThePhoto()
{
    WindowRig rig;
    TForm3& box = *rig.windows.Form3;
    QVERIFY(!box.isVisible());
    QVERIFY(!box.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!box.Inform->pixmap().isNull());
    box.setOuterHeight(TForm3::kExpandedHeight);

    rig.form().N12Click();
    QVERIFY(box.isVisible() && box.isEnabled());
    QCOMPARE(box.outerHeight(), 179);
    QCOMPARE(box.height(), 152);
    QVERIFY(!rig.form().isEnabled());
    QVERIFY(!rig.form().T1->isActive());
    QVERIFY(rig.messages.isEmpty());
}

void AboutBoxTest::historyButtonExpandsAndCollapsesReadingTheFileAgain()
{
    WindowRig rig;
    TForm3& box = *rig.windows.Form3;
    rig.folder.writeLines("ReadMe.Txt", {"ТАРМЕЛЬ", "История версий"});
    rig.form().N12Click();
    QVERIFY(box.Memo1->toPlainText().isEmpty());

    box.Button1->click();
    QCOMPARE(box.Memo1->toPlainText(), QStringLiteral("ТАРМЕЛЬ\nИстория версий"));
    QCOMPARE(box.outerHeight(), 327);
    QCOMPARE(box.height(), 300);
    QVERIFY(box.TabControl2->geometry().bottom() < box.height());

    rig.folder.writeLines("ReadMe.Txt", {"Новая история"});
    box.Button1->click();
    QCOMPARE(box.Memo1->toPlainText(), QStringLiteral("Новая история"));
    QCOMPARE(box.outerHeight(), 179);
    QVERIFY(rig.messages.isEmpty());
}

void AboutBoxTest::historyButtonStepsByHeight_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::newRow("collapsed expands") << 179 << 327;
    QTest::newRow("expanded collapses") << 327 << 179;
    QTest::newRow("other heights grow by one") << 200 << 201;
    QTest::newRow("one below expanded") << 326 << 327;
    QTest::newRow("one below collapsed") << 178 << 179;
}

void AboutBoxTest::historyButtonStepsByHeight()
{
    QFETCH(int, before);
    QFETCH(int, after);
    WindowRig rig;
    rig.folder.writeLines("ReadMe.Txt", {"История"});
    TForm3& box = *rig.windows.Form3;
    box.setOuterHeight(before);
    box.Button1Click();
    QCOMPARE(box.outerHeight(), after);
}

void AboutBoxTest::missingHistoryKeepsTheBoxAsItIs()
{
    WindowRig rig;
    TForm3& box = *rig.windows.Form3;
    rig.folder.writeLines("ReadMe.Txt", {"Старая история"});
    rig.form().N12Click();
    box.Button1->click();
    box.Button1->click();
    std::filesystem::remove("ReadMe.Txt");
    box.Button1->click();
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages[0].contains(QStringLiteral("ReadMe.Txt")), qPrintable(rig.messages[0]));
    QCOMPARE(box.outerHeight(), 179);
    QCOMPARE(box.Memo1->toPlainText(), QStringLiteral("Старая история"));
}

void AboutBoxTest::closeReturnsToTheMainWindowAndReopensCollapsed()
{
    WindowRig rig;
    TForm3& box = *rig.windows.Form3;
    rig.folder.writeLines("ReadMe.Txt", {"История"});
    rig.form().N12Click();
    box.Button1->click();
    QCOMPARE(box.outerHeight(), 327);

    box.Button2->click();
    QVERIFY(!box.isVisible());
    QVERIFY(rig.form().isEnabled());
    QVERIFY(rig.form().T1->isActive());

    rig.form().N12Click();
    QCOMPARE(box.outerHeight(), 179);
    QCOMPARE(box.Memo1->toPlainText(), QStringLiteral("История"));
}

void AboutBoxTest::missingPhotoIsReportedAndTheStartGoesOn()
{
    tarmel::test::ProgramStart start([] { std::filesystem::remove("Images/Foto.bmp"); });
    const tarmel::ProgramWindows& windows = start.windows;
    const QStringList& messages = start.messages;
    QVERIFY(windows.Form1 && windows.Form2 && windows.Form3 && windows.Form4);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("Images\\Foto.bmp")), qPrintable(messages[0]));
    QVERIFY(windows.Form3->Inform->pixmap().isNull());
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    AboutBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_box_test.moc"
