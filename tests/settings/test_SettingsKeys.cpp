// The key table against the file's known shape: 525 reads of 524 keys.
#include "settings/ColourNames.h"
#include "settings/SettingsKeys.h"

#include <QSet>
#include <gtest/gtest.h>
#include <map>

TEST(SettingsKeys, TableHoldsEveryReadOfEverySection)
{
    std::map<std::string, int> reads;
    QSet<QString> distinct;
    int writeOnly = 0;
    for (const KeySpec &k : settingsKeys()) {
        if (k.access == KeyAccess::WriteOnly) {
            ++writeOnly;
            continue;
        }
        ++reads[k.section];
        distinct.insert(QString::fromLatin1(k.section).toLower() + QLatin1Char('/') + QString::fromLatin1(k.key).toLower());
    }
    const std::map<std::string, int> expected = {
        {"Search", 14}, {"UpTime", 2},   {"Router", 16},  {"RouterLog", 8},  {"Graph", 123}, {"Capture", 46},
        {"IPAddress", 3}, {"Telnet", 100}, {"System", 70}, {"Auth", 1},      {"Alarm", 42},  {"CaptureTelnet", 2},
        {"Log", 20},    {"Email", 25},   {"WebServer", 18}, {"Bias", 1},     {"Ping", 16},   {"585Telnet", 18},
    };
    EXPECT_EQ(reads, expected);
    EXPECT_EQ(distinct.size(), 524);
    EXPECT_EQ(writeOnly, 4);
}

TEST(SettingsKeys, WriteOrderCoversEverySectionOnce)
{
    QSet<QString> inTable, inOrder;
    for (const KeySpec &k : settingsKeys())
        inTable.insert(QString::fromLatin1(k.section));
    for (const char *s : settingsSectionWriteOrder())
        inOrder.insert(QString::fromLatin1(s));
    EXPECT_EQ(inTable, inOrder);
    EXPECT_EQ(settingsSectionWriteOrder().size(), 18u);
}

TEST(SettingsKeys, LookupIgnoresCaseAndFindsTheSecondPingMax)
{
    const KeySpec *k = findSettingsKey("system", "SAMPLE");
    ASSERT_NE(k, nullptr);
    EXPECT_STREQ(k->key, "Sample");
    EXPECT_EQ(findSettingsKey("Nope", "Sample"), nullptr);

    TSettings s;
    s.Ping.Max = 77;
    const KeySpec *max = findSettingsKey("Ping", "Max");
    ASSERT_NE(max, nullptr);
    EXPECT_EQ(max->ref<KeyType::Int>(s), 77);
}

TEST(ColourNames, EveryNameRoundTripsAndOthersAreHex)
{
    for (const char *name : {"clBlack", "clNavy", "clBtnFace", "clMoneyGreen", "cl3DDkShadow", "clNone", "clDefault",
                             "clMenuHighlight", "clWindowText"}) {
        const auto c = colours::fromText(QString::fromLatin1(name).toLower());
        ASSERT_TRUE(c) << name;
        EXPECT_EQ(colours::toText(*c), QLatin1String(name));
    }
    EXPECT_EQ(colours::toText(0x00A79F85), QStringLiteral("$00A79F85"));
    EXPECT_EQ(colours::toText(0x00000001), QStringLiteral("$00000001"));
    EXPECT_EQ(*colours::fromText(QStringLiteral("$00a79f85")), 0x00A79F85u);
    EXPECT_FALSE(colours::fromText(QStringLiteral("clPink")));
    EXPECT_FALSE(colours::fromText(QStringLiteral("$1FFFFFFFFF")));
    EXPECT_FALSE(colours::fromText(QString()));
}
