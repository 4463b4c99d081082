// Content types of served files.
#include "webserver/MimeTypes.h"

#include <gtest/gtest.h>

TEST(MimeTypes, ByExtension)
{
    const struct {
        const char *name, *type;
    } cases[] = {
        {"/w/page.htm", "text/html"},       {"/w/PAGE.HTML", "text/html"},  {"/w/noise_margin.jpg", "image/jpeg"},
        {"/w/a.JPEG", "image/jpeg"},        {"/w/a.png", "image/png"},      {"/w/a.gif", "image/gif"},
        {"/w/a.bmp", "image/bmp"},          {"/w/log.txt", "text/plain"},   {"/w/style.css", "text/css"},
        {"/w/noextension", "application/octet-stream"},
        {"/w/a.unknownext123", "application/octet-stream"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MimeTypes::GetMIMEType(QLatin1String(c.name)), QLatin1String(c.type)) << c.name;
}
