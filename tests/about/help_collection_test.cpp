// The help collection beside the program, opened the way the viewer opens it: its title, every
// page of the contents, every link between the pages and every picture on them, also after the
// program's folder moved.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHelpEngineCore>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString kBase = QStringLiteral("qthelp://org.example.ve17.1.1/doc/");

TEST(HelpCollectionTest, OpensFromAMovedFolderWithTitleAndEveryLinkedPage) {
    const QDir bin(QStringLiteral(VE17_PROGRAM_DIR));
    QTemporaryDir moved;
    for (const QString& name : {QStringLiteral("ve17.qhc"), QStringLiteral("ve17.qch")}) {
        ASSERT_TRUE(QFile::copy(bin.filePath(name), moved.filePath(name))) << name.toStdString();
    }

    QHelpEngineCore engine(moved.filePath(QStringLiteral("ve17.qhc")));
    ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
    EXPECT_EQ(engine.customValue(QStringLiteral("WindowTitle")).toString(),
              QStringLiteral("ВЕ-17 Справка"));
    EXPECT_EQ(engine.customValue(QStringLiteral("defaultHomepage")).toString(),
              kBase + QStringLiteral("index.html"));

    // Every page reached from the start page, following links, exists in the documentation.
    const QRegularExpression link(QStringLiteral("href=\"([a-z_]+\\.(?:html|css))\""));
    // Every picture a page shows is in the collection and can be read.
    const QRegularExpression picture(QStringLiteral("<img src=\"([a-z_]+\\.png)\""));
    int pictures = 0;
    QStringList pending{QStringLiteral("index.html")};
    QStringList seen;
    while (!pending.isEmpty()) {
        const QString page = pending.takeFirst();
        if (seen.contains(page)) {
            continue;
        }
        seen << page;
        const QByteArray text = engine.fileData(QUrl(kBase + page));
        ASSERT_FALSE(text.isEmpty()) << page.toStdString();
        for (const auto& match : link.globalMatch(QString::fromUtf8(text))) {
            pending << match.captured(1);
        }
        for (const auto& match : picture.globalMatch(QString::fromUtf8(text))) {
            const QImage shown = QImage::fromData(engine.fileData(QUrl(kBase + match.captured(1))));
            EXPECT_FALSE(shown.isNull())
                << page.toStdString() << ": " << match.captured(1).toStdString();
            ++pictures;
        }
    }
    EXPECT_GE(seen.size(), 9);
    EXPECT_GE(pictures, 5) << "the screenshots of the window";
}

}  // namespace
