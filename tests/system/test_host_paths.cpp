// Windows paths of the program's files and where they are kept on this host.

#include "system/host_paths.h"

#include <QDir>
#include <QTest>

using namespace desk;

class TestHostPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toHost_data();
    void toHost();
    void thisHost();
};

void TestHostPaths::toHost_data()
{
    QTest::addColumn<QString>("programPath");
    QTest::addColumn<QString>("hostPath");

    QTest::newRow("master file") << R"(c:\lrnfiles\masterFile_Ann__Lee.txt)"
                                 << "/home/ann/lrnfiles/masterFile_Ann__Lee.txt";
    QTest::newRow("capital drive letter") << R"(C:\lrnfiles\masterFile_Ann__Lee.txt)"
                                          << "/home/ann/lrnfiles/masterFile_Ann__Lee.txt";
    QTest::newRow("local data directory") << R"(c:\lrnfiles)"
                                          << "/home/ann/lrnfiles";
    QTest::newRow("LAN directory")
        << R"(i:\bkp_000416\My Documents\distance students\interactive problems\lb1\send_0105Ann.txt)"
        << "/mnt/drives/i/bkp_000416/My Documents/distance students/interactive "
           "problems/lb1/send_0105Ann.txt";
    QTest::newRow("other drive, capital") << R"(I:\bkp_000416\My Documents\x)"
                                          << "/mnt/drives/i/bkp_000416/My Documents/x";
    QTest::newRow("name with blanks and dots") << R"(c:\lrnfiles\notes_A. B C.txt)"
                                               << "/home/ann/lrnfiles/notes_A. B C.txt";
}

// Under the roots given, whatever the system; as they are, untouched.
void TestHostPaths::toHost()
{
    QFETCH(QString, programPath);
    QFETCH(QString, hostPath);
    QCOMPARE(
        HostPaths(QStringLiteral("/home/ann"), QStringLiteral("/mnt/drives")).toHost(programPath),
        hostPath);
    QCOMPARE(HostPaths::asTheyAre().toHost(programPath), programPath);
}

void TestHostPaths::thisHost()
{
    const HostPaths paths = HostPaths::forThisHost();
    const QString notes = QStringLiteral(R"(c:\lrnfiles\notes_Ann.txt)");
#ifdef Q_OS_WIN
    QCOMPARE(paths.toHost(notes), notes);
#else
    QCOMPARE(paths.toHost(notes), QDir::homePath() + QStringLiteral("/lrnfiles/notes_Ann.txt"));
    QCOMPARE(paths.toHost(QStringLiteral(R"(i:\bkp_000416\x.txt)")),
             QStringLiteral("/mnt/i/bkp_000416/x.txt"));
#endif
}

QTEST_GUILESS_MAIN(TestHostPaths)
#include "test_host_paths.moc"
