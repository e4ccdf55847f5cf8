// ve17-archive on the engine of this test program, run as the real program: import of a folder
// of good, damaged and foreign files, verify and list finding changed and missing files, two
// programs importing at once, wrong calls.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "archive/station.h"
#include "archive_engine.h"
#include "archive_test_support.h"

namespace {

class ArchiveProgram : public ArchiveOnEngine {
  protected:
    QStringList Call(const char* command) const {
        return {QString::fromLatin1(command), QStringLiteral("--folder"), folder_.Path()};
    }

    // A folder of test files under the program's folder.
    QString Tests(const QString& name, int count) {
        const QString folder = PathOf(name);
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i) {
            SaveTest(QDir(folder).filePath(QStringLiteral("%1.ktd").arg(i)),
                     QStringLiteral("%1-%2").arg(name).arg(i), {1000, 2000 + i, 1500});
        }
        return folder;
    }

    // Field `field` of each output line, in order.
    static QStringList Column(const TProgramRun& run, int field) {
        QStringList values;
        for (const QString& line : run.OutLines()) {
            values << line.split('\t').value(field);
        }
        return values;
    }

    QStringList ArchivedPaths() const {
        QStringList paths;
        for (const auto& entry : AllEntries(settings_)) {
            paths << entry.filePath;
        }
        paths.sort();
        return paths;
    }
};

TEST_F(ArchiveProgram, ImportEntersGoodFilesAndNamesTheOthersWithTheirReason) {
    const QString tests = PathOf("DBCustom");
    QDir().mkpath(tests + "/sub");
    SaveTest(tests + "/good.ktd", QStringLiteral("Бетон"), {1000, 2500, 1800});
    SaveTest(tests + "/sub/upper.KTD", QStringLiteral("Сталь"), {500, 700, 600});
    SaveTest(tests + "/~registration.ktd", QStringLiteral("журнал"), {1, 2, 3});
    SaveTest(tests + "/notes.txt", QStringLiteral("не испытание"), {1, 2, 3});
    WriteBytes(tests + "/short.ktd", "K-Tor. file v.3");
    WriteBytes(tests + "/longer.ktd", ReadBytes(tests + "/good.ktd") + "!");
    QByteArray foreign = ReadBytes(tests + "/good.ktd");
    foreign.replace(0, 8, "\x89PNG\r\n\x1a\n");
    WriteBytes(tests + "/foreign.ktd", foreign);
    ASSERT_TRUE(QFile::link(tests + "/good.ktd", tests + "/link.ktd"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tests + "/fifo.ktd").constData(), 0600), 0);
    const QString elsewhere = Tests(QStringLiteral("elsewhere"), 1);
    ASSERT_TRUE(QFile::link(elsewhere, tests + "/linked-folder"));

    const TProgramRun run = RunArchiveProgram(Call("import") << tests);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(Column(run, 0),
              QStringList({tests + "/fifo.ktd", tests + "/foreign.ktd", tests + "/link.ktd",
                           tests + "/longer.ktd", tests + "/short.ktd"}));
    for (const QString& reason : Column(run, 1)) {
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_TRUE(run.err.contains(QStringLiteral("Внесено в архив: 2;"))) << run.err.toStdString();

    const auto entries = AllEntries(settings_);
    ASSERT_EQ(entries.size(), 2u);
    for (const auto& e : entries) {
        EXPECT_EQ(e.origin, archive::TOrigin::Imported);
        EXPECT_EQ(e.machine, QStringLiteral("П-125"));  // the folder's VE17.ini
        EXPECT_EQ(e.operatorName, QStringLiteral("Петров"));
        EXPECT_EQ(e.serNum, 42);
        EXPECT_EQ(e.periodMs, 100);  // the step of the file's times
        EXPECT_EQ(e.userAccount, archive::CurrentAccount());
    }
    EXPECT_EQ(ArchivedPaths(), QStringList({tests + "/good.ktd", tests + "/sub/upper.KTD"}));

    const TProgramRun again = RunArchiveProgram(Call("import") << tests);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("Внесено в архив: 0; уже были в архиве: 2;")))
        << again.err.toStdString();
    EXPECT_EQ(AllEntries(settings_).size(), 2u);
}

TEST_F(ArchiveProgram, VerifyAndListFindAChangedAndAMissingFile) {
    const QString tests = Tests(QStringLiteral("DBCustom"), 3);
    ASSERT_EQ(RunArchiveProgram(Call("import") << tests).exitCode, 0);
    const TProgramRun intact = RunArchiveProgram(Call("verify"));
    EXPECT_EQ(intact.exitCode, 0) << intact.err.toStdString();
    EXPECT_TRUE(intact.out.isEmpty());

    const QString changed = tests + "/0.ktd";
    const QString missing = tests + "/1.ktd";
    QByteArray bytes = ReadBytes(changed);
    bytes[130] = static_cast<char>(bytes[130] ^ 1);  // one force, the length as it was
    WriteBytes(changed, bytes);
    ASSERT_TRUE(QFile::remove(missing));

    const TProgramRun verify = RunArchiveProgram(Call("verify"));
    EXPECT_EQ(verify.exitCode, 1);
    QStringList found;
    for (const QString& line : verify.OutLines()) {
        found << line.section('\t', 0, 1);
    }
    found.sort();
    EXPECT_EQ(found, QStringList({"changed\t" + changed, "missing\t" + missing}));

    const TProgramRun list = RunArchiveProgram(Call("list"));
    EXPECT_EQ(list.exitCode, 1);
    std::set<std::pair<QString, QString>> states;
    for (const QString& line : list.OutLines()) {
        states.insert({line.section('\t', 7, 7), line.section('\t', 8, 8)});
    }
    EXPECT_EQ(states, (std::set<std::pair<QString, QString>>{
                          {changed, "changed"}, {missing, "missing"}, {tests + "/2.ktd", "ok"}}));
}

TEST_F(ArchiveProgram, ListPrintsOneLinePerTestTheNewestFirst) {
    QDir().mkpath(PathOf("DBCustom"));
    const QString older = PathOf("DBCustom/older.ktd");
    const QString newer = PathOf("DBCustom/newer.ktd");
    SaveTest(older, QStringLiteral("Бетон\tB25"), {1000, 2500, 1800}, QStringLiteral("100"));
    SaveTest(newer, QStringLiteral("Сталь"), {300, 500}, QStringLiteral("0"));
    QFile file(older);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-3),
                                 QFileDevice::FileModificationTime));
    file.close();
    ASSERT_EQ(RunArchiveProgram(Call("import") << PathOf("DBCustom")).exitCode, 0);

    const TProgramRun list = RunArchiveProgram(Call("list"));
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(
        list.OutLines(),
        QStringList({"14.03.2026\tСталь\tМ-1\tкуб\t0\t0.500\t-\t" + newer + "\tok",
                     "14.03.2026\tБетон B25\tМ-1\tкуб\t100\t2.500\t25.000\t" + older + "\tok"}));
    const TProgramRun filtered =
        RunArchiveProgram(Call("list") << QStringLiteral("--filter") << QStringLiteral("бетон"));
    EXPECT_EQ(Column(filtered, 7), QStringList{older});
}

TEST_F(ArchiveProgram, TwoProgramsImportingAtOnceLoseAndDuplicateNothing) {
    // Two presses' folders with one server; the embedded database is shared only by the
    // programs of one folder.
    QTemporaryDir second;
    const QString otherFolder = service_.isEmpty() ? folder_.Path() : second.path();
    WriteProgramIni(second.path(), service_, QStringLiteral("П-50"));
    const QString mine = Tests(QStringLiteral("a"), 40);
    const QString theirs = Tests(QStringLiteral("b"), 40);
    const QString shared = Tests(QStringLiteral("shared"), 20);

    const auto one = StartArchiveProgram(Call("import") << mine << shared);
    const auto two = StartArchiveProgram(
        {QStringLiteral("import"), QStringLiteral("--folder"), otherFolder, theirs, shared});
    EXPECT_EQ(Finish(*one).exitCode, 0);
    EXPECT_EQ(Finish(*two).exitCode, 0);

    const QStringList paths = ArchivedPaths();
    EXPECT_EQ(paths.size(), 100);
    EXPECT_EQ(QSet<QString>(paths.begin(), paths.end()).size(), 100);
    if (!service_.isEmpty()) {
        QSet<QString> presses;
        for (const auto& entry : AllEntries(settings_)) {
            presses.insert(entry.machine);
        }
        EXPECT_EQ(presses, (QSet<QString>{QStringLiteral("П-125"), QStringLiteral("П-50")}));
    }
}

TEST_F(ArchiveProgram, AWrongCallOrAnArchiveOutOfReachEndsWithStatus2) {
    QTemporaryDir unreachable;
    WriteProgramIni(unreachable.path(), QStringLiteral("no-such-service"));
    const QStringList calls[] = {
        {QStringLiteral("erase")},
        Call("import"),
        Call("list") << QStringLiteral("extra"),
        Call("verify") << QStringLiteral("--filter") << QStringLiteral("x"),
        {QStringLiteral("list"), QStringLiteral("--folder")},
        {QStringLiteral("list"), QStringLiteral("--folder"), PathOf("no-such-folder")},
        Call("import") << PathOf("no-such-file.ktd"),
        {QStringLiteral("list"), QStringLiteral("--folder"), unreachable.path()},
    };
    for (const QStringList& call : calls) {
        const TProgramRun run = RunArchiveProgram(call);
        EXPECT_EQ(run.exitCode, 2) << call.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << call.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << call.join(' ').toStdString();
    }
}

}  // namespace
