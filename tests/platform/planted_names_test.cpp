// Names in a shared folder that another operator may have planted: links (to a file, to
// nothing), FIFOs, folders, a file far larger than any the program writes. Reading never goes
// through a link or waits on a FIFO and never takes more than its bound; replacing puts a new
// file in the name's place and never writes through what was there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "platform/file_attributes.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"

namespace {

QByteArray Name(const QString& path) {
    return QFile::encodeName(path);
}

void Write(const QString& path, const QByteArray& bytes, mode_t mode = 0644) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();
    ASSERT_EQ(::chmod(Name(path).constData(), mode), 0);
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

mode_t ModeOf(const QString& path) {
    struct stat info = {};
    ::lstat(Name(path).constData(), &info);
    return info.st_mode;
}

class PlantedNames : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkdir(Shared()));
        Write(Victim(), "the victim's own file\n", 0640);
    }
    QString Shared() const { return dir_.filePath("press"); }
    QString InShared(const QString& name) const { return Shared() + '/' + name; }
    // A file outside the shared folder that a planted name points at.
    QString Victim() const { return dir_.filePath("victim.txt"); }

    void PlantLink(const QString& name, const QString& target) const {
        ASSERT_EQ(::symlink(Name(target).constData(), Name(InShared(name)).constData()), 0);
    }
    void PlantFifo(const QString& name) const {
        ASSERT_EQ(::mkfifo(Name(InShared(name)).constData(), 0666), 0);
    }
    void ExpectVictimUntouched() const {
        EXPECT_EQ(Read(Victim()), "the victim's own file\n");
        EXPECT_EQ(ModeOf(Victim()) & 07777, 0640U);
    }

    QTemporaryDir dir_;
};

struct TPlanted {
    const char* what;
    std::function<void(const PlantedNames&, const QString&)> plant;
    int error;
};

const TPlanted kPlanted[] = {
    {"a link to a file",
     [](const PlantedNames& t, const QString& name) { t.PlantLink(name, t.Victim()); }, ELOOP},
    {"a link to nothing",
     [](const PlantedNames& t, const QString& name) { t.PlantLink(name, "/nonexistent/x"); },
     ELOOP},
    {"a FIFO nobody writes", [](const PlantedNames& t, const QString& name) { t.PlantFifo(name); },
     platform::kNotRegularFile},
    {"a folder",
     [](const PlantedNames& t, const QString& name) {
         ASSERT_TRUE(QDir().mkdir(t.InShared(name)));
     },
     platform::kNotRegularFile},
};

TEST_F(PlantedNames, AreNeitherReadNorFollowedNorWaitedOn) {
    for (const TPlanted& planted : kPlanted) {
        const QString name = QString::fromLatin1(planted.what).replace(' ', '_');
        planted.plant(*this, name);
        const platform::TFileRead read = platform::ReadRegularFile(InShared(name), 1 << 20);
        EXPECT_EQ(read.error, planted.error) << planted.what;
        EXPECT_TRUE(read.bytes.isEmpty()) << planted.what;
        EXPECT_FALSE(platform::FileErrorText(read.error).isEmpty());
    }
    EXPECT_EQ(platform::ReadRegularFile(InShared("missing"), 10).error, ENOENT);
}

TEST_F(PlantedNames, ReplacingPutsARegularFileInTheirPlaceAndNeverWritesThroughThem) {
    for (const TPlanted& planted : kPlanted) {
        const QString name = QString::fromLatin1(planted.what).replace(' ', '_');
        planted.plant(*this, name);
        const QString failure = platform::WriteWholeFile(InShared(name), "new\n");
        if (planted.error == ELOOP || QByteArray(planted.what).contains("FIFO")) {
            EXPECT_TRUE(failure.isEmpty()) << planted.what << ": " << failure.toStdString();
            EXPECT_TRUE(S_ISREG(ModeOf(InShared(name)))) << planted.what;
            EXPECT_EQ(Read(InShared(name)), "new\n") << planted.what;
        } else {
            EXPECT_FALSE(failure.isEmpty()) << "a folder is not replaced by a file";
        }
    }
    ExpectVictimUntouched();
    EXPECT_FALSE(QFile::exists("/nonexistent/x"));
    // Nothing but the names themselves is left in the folder.
    EXPECT_EQ(QDir(Shared())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System)
                  .size(),
              static_cast<int>(std::size(kPlanted)));
}

TEST_F(PlantedNames, AttributesAreChangedOnTheFileOnlyNeverThroughALink) {
    PlantLink("VE17.ini", Victim());
    EXPECT_FALSE(platform::SetFileAttributesNormal(InShared("VE17.ini")));
    EXPECT_FALSE(platform::SetFileAttributesReadOnlySystem(InShared("VE17.ini")));
    PlantFifo("fifo.ini");
    EXPECT_FALSE(platform::SetFileAttributesReadOnlySystem(InShared("fifo.ini")));
    ExpectVictimUntouched();
    EXPECT_TRUE(S_ISLNK(ModeOf(InShared("VE17.ini"))));
}

TEST_F(PlantedNames, AFolderIsNotMadeThroughALink) {
    ASSERT_TRUE(QDir().mkdir(dir_.filePath("elsewhere")));
    PlantLink("DBCustom", dir_.filePath("elsewhere"));
    EXPECT_FALSE(platform::CreateFolder(InShared("DBCustom")));
    PlantLink("Broken", dir_.filePath("nothing"));
    EXPECT_FALSE(platform::CreateFolder(InShared("Broken")));
    EXPECT_FALSE(QFileInfo::exists(dir_.filePath("nothing")));
}

// A file as large as a disk allows (sparse: it takes no room) is read up to the bound only.
TEST_F(PlantedNames, AHugeFileIsReadOnlyUpToTheBound) {
    const QString path = InShared("huge");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 30));
    }
    const platform::TFileRead read = platform::ReadRegularFile(path, 4096);
    EXPECT_EQ(read.error, 0);
    EXPECT_EQ(read.bytes.size(), 4096);
    EXPECT_EQ(read.size, qint64(1) << 30);
}

TEST(ReplacingAFile, KeepsTheModeOfTheFileItReplacesAndGivesANewOneTheFolders) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("press");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(Name(folder).constData(), 0775), 0);
    const mode_t mask = ::umask(022);
    Write(folder + "/old.ktd", "old", 0604);
    EXPECT_TRUE(platform::WriteWholeFile(folder + "/old.ktd", "replaced").isEmpty());
    EXPECT_TRUE(platform::WriteWholeFile(folder + "/new.ktd", "new").isEmpty());
    EXPECT_TRUE(platform::WriteWholeFile(folder + "/given.ktd", "given", 0400).isEmpty());
    ::umask(mask);
    EXPECT_EQ(ModeOf(folder + "/old.ktd") & 07777, 0604U);
    EXPECT_EQ(ModeOf(folder + "/new.ktd") & 07777, 0664U) << "the group may replace it anyway";
    EXPECT_EQ(ModeOf(folder + "/given.ktd") & 07777, 0400U);
    EXPECT_EQ(Read(folder + "/old.ktd"), "replaced");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

}  // namespace
