#include <QProcess>
#include <QTest>

namespace {

// Starts the probe and returns its first report.
QByteArray startProbe(QProcess &p)
{
    p.start(QStringLiteral(TALVO_PROBE), {});
    if (!p.waitForStarted() || !p.waitForReadyRead(20000))
        return "no answer";
    return p.readLine().trimmed();
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartEndsSilently();
    void crashedHolderDoesNotBlock();
};

void SingleInstanceTest::secondStartEndsSilently()
{
    QProcess holder;
    QCOMPARE(startProbe(holder), QByteArray("acquired"));

    QProcess second;
    QCOMPARE(startProbe(second), QByteArray("busy"));
    QVERIFY(second.waitForFinished(20000));

#ifdef TALVO_PROGRAM
    // The program itself: ends at once with code 0, and shows no window
    // (it never gets as far as writing its settings either).
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(TALVO_PROGRAM), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAll(), QByteArray());
#endif

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(20000));
    QProcess third;
    QCOMPARE(startProbe(third), QByteArray("acquired"));
    third.closeWriteChannel();
    QVERIFY(third.waitForFinished(20000));
}

void SingleInstanceTest::crashedHolderDoesNotBlock()
{
    QProcess holder;
    QCOMPARE(startProbe(holder), QByteArray("acquired"));
    holder.kill();
    QVERIFY(holder.waitForFinished(20000));
    QProcess next;
    QCOMPARE(startProbe(next), QByteArray("acquired"));
    next.closeWriteChannel();
    QVERIFY(next.waitForFinished(20000));
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
