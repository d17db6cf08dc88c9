#include "support/Appcast.h"

#include <gtest/gtest.h>

TEST(Appcast, VersionsCompareAsPeopleReadThem) {
    struct Case {
        const char* older;
        const char* newer;
    };
    for (const Case& c : {Case{"1.9", "1.10"}, Case{"1.0", "1.0.1"}, Case{"2.0b1", "2.0"},
                          Case{"2.0a3", "2.0b1"}, Case{"0.9.9", "1.0"}, Case{"1.0", "1.0.0.1"},
                          Case{"1.2 beta", "1.2"}, Case{"09", "10"}}) {
        EXPECT_LT(Appcast::compareVersions(c.older, c.newer), 0) << c.older << " < " << c.newer;
        EXPECT_GT(Appcast::compareVersions(c.newer, c.older), 0) << c.newer << " > " << c.older;
    }
    EXPECT_EQ(Appcast::compareVersions("1.0", "1.0.0"), 0);
    EXPECT_EQ(Appcast::compareVersions("1.0", "1-0"), 0);
    EXPECT_EQ(Appcast::compareVersions("007", "7"), 0);
}

TEST(Appcast, ReadsItemsAndSkipsIncompleteOnes) {
    const QByteArray xml = R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
 <channel><title>Glintext</title>
  <item><title>Version 1.1</title>
   <sparkle:releaseNotesLink>https://example.org/1.1.html</sparkle:releaseNotesLink>
   <enclosure url="https://example.org/1.1.tar.gz" sparkle:version="110"
              sparkle:shortVersionString="1.1" length="10" type="application/octet-stream"/>
  </item>
  <item><title>No download</title><sparkle:version>120</sparkle:version></item>
  <item><title>No version</title><enclosure url="https://example.org/x.tar.gz"/></item>
 </channel>
</rss>)";
    QString error;
    const auto items = Appcast::parse(xml, &error);
    ASSERT_TRUE(items) << error.toStdString();
    ASSERT_EQ(items->size(), 1);
    EXPECT_EQ(items->at(0).version, "110");
    EXPECT_EQ(items->at(0).shortVersion, "1.1");
    EXPECT_EQ(items->at(0).title, "Version 1.1");
    EXPECT_EQ(items->at(0).releaseNotesLink, QUrl("https://example.org/1.1.html"));
    EXPECT_EQ(items->at(0).downloadUrl, QUrl("https://example.org/1.1.tar.gz"));
    EXPECT_FALSE(Appcast::newestAfter(*items, "110").has_value());
    EXPECT_EQ(Appcast::newestAfter(*items, "109")->version, "110");

    EXPECT_FALSE(Appcast::parse("<html><body>Not found</body></html>", &error));
    EXPECT_FALSE(Appcast::parse("<rss><channel><item>", &error));
    EXPECT_FALSE(error.isEmpty());
}
