// Saves that fail while the bot learns — a folder that cannot be written, a
// full disk — are reported with the file's name; the old files stay as they
// were, no temporary file is left behind and the next turn works.

#include "message_box.h"
#include "window_rig.h"

#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using tarmel::test::WindowRig;

namespace {

std::string bytesOf(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

QStringList temporaryFiles()
{
    QStringList found;
    for (const auto& entry : std::filesystem::directory_iterator("Base")) {
        const QString name = QString::fromStdString(entry.path().filename().string());
        if (name.contains(QStringLiteral(".tmp-")))
            found << name;
    }
    return found;
}

// Makes the folder unwritable, for root as well (the immutable attribute);
// false when this system cannot.
bool makeReadOnly(const char* folder)
{
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_exec);
    if (::geteuid() == 0)
        std::system((std::string("chattr +i ") + folder + " 2>/dev/null").c_str());
    std::ofstream probe(std::string(folder) + "/probe");
    return !probe;
}

void makeWritable(const char* folder)
{
    if (::geteuid() == 0)
        std::system((std::string("chattr -i ") + folder + " 2>/dev/null").c_str());
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

} // namespace

class SaveFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void failedSaveLosesNothing_data();
    void failedSaveLosesNothing();
};

void SaveFailuresTest::failedSaveLosesNothing_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("read-only folder") << false;
    QTest::newRow("full disk") << true;
}

void SaveFailuresTest::failedSaveLosesNothing()
{
    QFETCH(bool, fullDisk);
    WindowRig rig;
    TForm1& form = rig.form();
    rig.type(QStringLiteral("привет"));
    rig.tick();
    rig.pressEnter(); // the bot has said something: the next new phrase is learned
    const std::string words = bytesOf("Base/Words.Dat");
    const std::string statements = bytesOf("Base/W2.Dat");

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    if (fullDisk) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &small);
    } else if (!makeReadOnly("Base")) {
        makeWritable("Base");
        QSKIP("this system cannot make a folder read-only for this user");
    }

    rig.type(QStringLiteral("совсем новая фраза"));
    rig.tick();
    rig.pressEnter();

    if (fullDisk)
        ::setrlimit(RLIMIT_FSIZE, &saved);
    else
        makeWritable("Base");

    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages[0].contains(QStringLiteral("Base\\W2.Dat")), qPrintable(rig.messages[0]));
    QCOMPARE(bytesOf("Base/Words.Dat"), words);
    QCOMPARE(bytesOf("Base/W2.Dat"), statements);
    QCOMPARE(temporaryFiles(), QStringList());
    QCOMPARE(form.Input->text(), QStringLiteral("совсем новая фраза")); // nothing typed is lost

    // The program goes on: the same phrase is learned once saving works.
    rig.pressEnter();
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY(bytesOf("Base/W2.Dat") != statements);
    QVERIFY(form.Input->text().isEmpty());
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    SaveFailuresTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "save_failures_test.moc"
