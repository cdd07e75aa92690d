#include "app/TrackText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TrackTextTest, TitleIsTheFileNameWithoutFoldersAndExtension) {
    EXPECT_EQ(TrackTitle("/music/a.b/song.mp3"), "song");
    EXPECT_EQ(TrackTitle("relative/take.two.wav"), "take.two");
    EXPECT_EQ(TrackTitle("plain"), "plain");
    EXPECT_EQ(TrackTitle("/music/.wav"), ".wav");
}

TEST(TrackTextTest, TextIsUtf8WhenValidAndWindows1251Otherwise) {
    // "Песен" in UTF-8 stays as it is; the same word in Windows-1251 bytes is decoded.
    EXPECT_EQ(DecodeText("\xD0\x9F\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD"),
              "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD");
    EXPECT_EQ(DecodeText("\xCF\xE5\xF1\xE5\xED"), "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD");
    // The high half's specials: the euro sign, the capital Ё, and 0x98, which is unassigned.
    EXPECT_EQ(DecodeText("\x88\xA8\x98"), "\xE2\x82\xAC\xD0\x81\xEF\xBF\xBD");
    // Overlong forms, surrogates and a cut sequence are not UTF-8.
    EXPECT_EQ(DecodeText("\xC0\xAF"), "\xD0\x90\xD0\x87");
    EXPECT_EQ(DecodeText("\xED\xA0\x80"), "\xD0\xBD\xC2\xA0\xD0\x82");
    EXPECT_EQ(DecodeText("a\xD0"), "a\xD0\xA0");
    EXPECT_EQ(TrackTitle("/m/\xCF\xE5\xF1\xE5\xED.mp3"),
              "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD");
}

TEST(TrackTextTest, FileUrisEscapeEveryByteButUnreservedOnesAndSlashes) {
    EXPECT_EQ(FileUri("/a b/c%d#e?.mp3"), "file:///a%20b/c%25d%23e%3F.mp3");
    EXPECT_EQ(FileUri("/\xCF-_.~x"), "file:///%CF-_.~x");
}

TEST(TrackTextTest, FileUrisGiveBackThePathTheyName) {
    for (const std::string path : {"/a b/c%d#e?.mp3", "/\xCF\xE5\xF1.wav", "/plain"}) {
        EXPECT_EQ(PathOfFileUri(FileUri(path)), path) << path;
    }
    EXPECT_EQ(PathOfFileUri("file://localhost/x.mp3"), "/x.mp3");
    EXPECT_EQ(PathOfFileUri("file:///x.mp3?query#part"), "/x.mp3");
    EXPECT_EQ(PathOfFileUri("file:///x%2fy"), "/x/y");
}

TEST(TrackTextTest, OtherUrisNameNoFile) {
    for (const char* uri : {"http://host/x.mp3", "file://other/x.mp3", "file:x.mp3", "file://",
                            "/x.mp3", "file:///x%2", "file:///x%zz", "file:///x%00y", ""}) {
        EXPECT_FALSE(PathOfFileUri(uri).has_value()) << uri;
    }
}

TEST(TrackTextTest, TracksAreDescribedWithAbsoluteUrlsAndMicroseconds) {
    const TrackMetadata track = DescribeTrack("songs/a b.mp3", 61500, 7, "/home/u");
    EXPECT_EQ(track.TrackId, "/org/kestrin/Player/Track/7");
    EXPECT_EQ(track.LengthUs, 61'500'000);
    EXPECT_EQ(track.Url, "file:///home/u/songs/a%20b.mp3");
    EXPECT_EQ(track.Title, "a b");
    EXPECT_EQ(DescribeTrack("/abs.wav", 0, 1, "/home/u").Url, "file:///abs.wav");
    EXPECT_EQ(AbsolutePath("x", "/"), "/x");
}

} // namespace
