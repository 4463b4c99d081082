// Host-name lookups for the access log: answered on the window thread,
// bounded by their time-out, and a newer lookup wins.
#include "TestSupport.h"
#include "webserver/ReverseLookup.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(ReverseLookup, LoopbackGetsAnAnswer)
{
    ReverseLookup lookup;
    QSignalSpy spy(&lookup, &ReverseLookup::finished);
    lookup.lookup(QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(lookup.isBusy());
    ASSERT_TRUE(testsupport::waitFor([&] { return spy.size() == 1; }, 15000));
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(spy[0][1].toString().isEmpty());
    EXPECT_NE(spy[0][1].toString(), QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(lookup.isBusy());
}

TEST(ReverseLookup, ANewerLookupReplacesTheOlder)
{
    ReverseLookup lookup;
    QSignalSpy spy(&lookup, &ReverseLookup::finished);
    lookup.lookup(QStringLiteral("127.0.0.2"));
    lookup.lookup(QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(testsupport::waitFor([&] { return spy.size() >= 1; }, 15000));
    testsupport::waitFor([] { return false; }, 200); // a late answer for the first would show now
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("127.0.0.1"));
}

TEST(ReverseLookup, GivesUpAfterItsTimeout)
{
    ReverseLookup lookup;
    lookup.setTimeout(0);
    QSignalSpy spy(&lookup, &ReverseLookup::finished);
    lookup.lookup(QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(testsupport::waitFor([&] { return spy.size() >= 1; }, 15000));
    testsupport::waitFor([] { return false; }, 200);
    EXPECT_EQ(spy.size(), 1); // one answer, whichever came first
}

TEST(ReverseLookup, CancelledLookupSaysNothing)
{
    ReverseLookup lookup;
    QSignalSpy spy(&lookup, &ReverseLookup::finished);
    lookup.lookup(QStringLiteral("127.0.0.1"));
    lookup.cancel();
    testsupport::waitFor([] { return false; }, 300);
    EXPECT_EQ(spy.size(), 0);
    EXPECT_FALSE(lookup.isBusy());
}
