// The router's address as other requests use it, taken from the status page URL.
#include "common/RouterAddress.h"

#include <gtest/gtest.h>

TEST(RouterAddress, DottedAddressOfTheLoginUrl)
{
    struct Case {
        const char *login;
        const char *address;
        const char *authority;
    };
    const Case cases[] = {
        {"http://192.168.0.1/setup.cgi?next_file=s_status.htm", "192.168.0.1", "192.168.0.1"},
        {"http://10.0.0.138/", "10.0.0.138", "10.0.0.138"},
        // The full width of an address is an address too.
        {"http://255.255.255.255/index.htm", "255.255.255.255", "255.255.255.255"},
        {"http://192.168.1.254", "192.168.1.254", "192.168.1.254"},
        // The simulator's unprivileged port stays with the authority.
        {"http://127.0.0.1:8080/s_status.htm", "127.0.0.1", "127.0.0.1:8080"},
        {"http://router.lan/status", "", "router.lan"},
        {"http://256.1.1.1/", "", "256.1.1.1"},
        {"http://1.2.3/", "", "1.2.3"},
        {"http://", "", ""},
        {"", "", ""},
        {"127.0.0.1/x", "127.0.0.1", "127.0.0.1"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(GetMainIPAddress(QString::fromLatin1(c.login)), QString::fromLatin1(c.address)) << c.login;
        EXPECT_EQ(routerAuthority(QString::fromLatin1(c.login)), QString::fromLatin1(c.authority)) << c.login;
    }
}

TEST(RouterAddress, DottedIPv4Rules)
{
    for (const char *yes : {"0.0.0.0", "127.0.0.1", "255.255.255.255", "01.2.3.4"})
        EXPECT_TRUE(isDottedIPv4(QString::fromLatin1(yes))) << yes;
    for (const char *no : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "a.b.c.d", "1..3.4", "1.2.3.4 ", "1234.1.1.1", "-1.2.3.4"})
        EXPECT_FALSE(isDottedIPv4(QString::fromLatin1(no))) << no;
}
