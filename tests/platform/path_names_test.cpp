#include "platform/path_names.h"

#include <gtest/gtest.h>

namespace {

TEST(PathNames, Parts) {
    struct Case {
        const char* path;
        const char* ext;
        const char* noExt;
        const char* noDir;
        const char* all;
        const char* dir;
    };
    const Case cases[] = {
        {"Data/sound/click.wav", "wav", "Data/sound/click", "click.wav", "click", "Data/sound"},
        {"click", "", "click", "click", "click", ""},
        {"Theme.OGG", "OGG", "Theme", "Theme.OGG", "Theme", ""},
        {"fx/boom", "", "fx/boom", "boom", "boom", "fx"},
        {"my.folder/file", "", "my.folder/file", "file", "file", "my.folder"},
        {"a\\b.c.d", "d", "a\\b.c", "b.c.d", "b.c", "a"},
        {"dir/", "", "dir/", "", "", "dir"},
        {"", "", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(platform::ExtractExt(c.path), c.ext);
        EXPECT_EQ(platform::StripExt(c.path), c.noExt);
        EXPECT_EQ(platform::StripDir(c.path), c.noDir);
        EXPECT_EQ(platform::StripAll(c.path), c.all);
        EXPECT_EQ(platform::ExtractDir(c.path), c.dir);
    }
}

} // namespace
