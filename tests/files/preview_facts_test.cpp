#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include "file_test_util.h"
#include "files/preview_facts.h"

using namespace pelmar;

TEST(PreviewFacts, SizeGetsDotsBetweenGroupsOfFourToTwelveDigits) {
    EXPECT_EQ(FileSizeText(0), "0");
    EXPECT_EQ(FileSizeText(999), "999");
    EXPECT_EQ(FileSizeText(1000), "1.000");
    EXPECT_EQ(FileSizeText(1234), "1.234");
    EXPECT_EQ(FileSizeText(123456), "123.456");
    EXPECT_EQ(FileSizeText(1234567), "1.234.567");
    EXPECT_EQ(FileSizeText(123456789012), "123.456.789.012");
    EXPECT_EQ(FileSizeText(1234567890123), "1234567890123");
    EXPECT_EQ(FileSizeText(-1), "-1");
}

TEST(PreviewFacts, TimeAndDatePaddedToTwoDigits) {
    const QDateTime t(QDate(2026, 3, 5), QTime(7, 4, 59));
    EXPECT_EQ(FileTimeText(t), "07:04");
    EXPECT_EQ(FileDateText(t), "05.03.2026");
    const QDateTime late(QDate(1999, 12, 31), QTime(23, 59));
    EXPECT_EQ(FileTimeText(late), "23:59");
    EXPECT_EQ(FileDateText(late), "31.12.1999");
    EXPECT_EQ(FileDateText(QDateTime(QDate(5, 1, 9), QTime(0, 0))), "09.01.05");
}

TEST(PreviewFacts, VersionTable) {
    EXPECT_EQ(VersionText(0), "");
    EXPECT_EQ(VersionText(1), "1.0");
    EXPECT_EQ(VersionText(4), "1.3");
    EXPECT_EQ(VersionText(5), "2.0");
    EXPECT_EQ(VersionText(9), "3.2");
    EXPECT_EQ(VersionText(10), "4.0");
    EXPECT_EQ(VersionText(12), "4.2");
    EXPECT_EQ(VersionText(13), "5.0");
    EXPECT_EQ(VersionText(18), "5.5");
    EXPECT_EQ(VersionText(19), "6.0");
    EXPECT_EQ(VersionText(20), "");
    EXPECT_EQ(VersionText(255), "");
}

TEST(PreviewFacts, KindByTheExactSpellingOfTheExtension) {
    for (const char* n : {"a.bmp", "a.BMP", "a.Bmp", "a.jpg", "a.JPG", "a.Jpg", "a.gif", "a.GIF", "a.Gif", "a.png",
                          "a.PNG", "a.Png", "a.wmf", "a.WMF", "a.Wmf", "a.emf", "a.EMF", "a.Emf", "/d/x.y/pic.png"})
        EXPECT_EQ(PreviewKindOf(QString::fromLatin1(n)), PreviewKind::Picture) << n;
    for (const char* n : {"a.pel", "a.PEL", "a.Pel"})
        EXPECT_EQ(PreviewKindOf(QString::fromLatin1(n)), PreviewKind::Document) << n;
    for (const char* n : {"a.jPg", "a.bMP", "a.pEl", "a.peL", "a.jpeg", "a.tiff", "a.txt", ".pe", "", "png",
                          "a.png ", "a.set"})
        EXPECT_EQ(PreviewKindOf(QString::fromLatin1(n)), PreviewKind::None) << n;
    // Exactly the last four characters: a name of four characters counts.
    EXPECT_EQ(PreviewKindOf(".png"), PreviewKind::Picture);
}

TEST(PreviewFacts, FileFunctionsOnFilesFoldersAndMissingNames) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/f.txt";
    test::WriteBytes(file.toStdString(), std::string(999, 'x'));
    EXPECT_EQ(FileSizeOf(file), 999);
    EXPECT_TRUE(FileDateTimeOf(file).isValid());
    EXPECT_TRUE(FileExistsByAttr(file));

    const QString missing = dir.path() + "/none.png";
    EXPECT_EQ(FileSizeOf(missing), -1);
    EXPECT_FALSE(FileDateTimeOf(missing).isValid());
    EXPECT_FALSE(FileExistsByAttr(missing));
    EXPECT_EQ(FileSizeOf(""), -1);
    EXPECT_FALSE(FileExistsByAttr(""));
}

TEST(PreviewFacts, PictureSizesADocumentPreviewPaints) {
    EXPECT_TRUE(PreviewablePictureSize(800, 600));
    EXPECT_TRUE(PreviewablePictureSize(1, 1));
    EXPECT_FALSE(PreviewablePictureSize(0, 600));
    EXPECT_FALSE(PreviewablePictureSize(800, -5));
    EXPECT_FALSE(PreviewablePictureSize(PreviewMaxSide + 1, 10));
    EXPECT_FALSE(PreviewablePictureSize(10000, 10000));
    EXPECT_TRUE(PreviewablePictureSize(5000, 10000));
}
