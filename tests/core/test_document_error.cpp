#include "TempDir.h"
#include "model/DocumentError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why a path that could not be opened as a document was refused.
TEST(DocumentError, WhyNotOpenedNamesTheKindOfPath)
{
    const CTempDir temp;
    const std::filesystem::path dir = temp.Path();
    std::filesystem::create_directories(dir / "folder.tav");
    ASSERT_EQ(::mkfifo((dir / "pipe.tav").c_str(), 0600), 0);
    std::ofstream(dir / "locked.tav") << "x";
    std::filesystem::permissions(dir / "locked.tav", std::filesystem::perms::none);
    const bool bRoot = ::geteuid() == 0; // root reads any file

    struct Case
    {
        const char* szName;
        std::filesystem::path path;
        CDocumentError::Code expected;
    };
    const Case cases[] = {
        {"missing", dir / "missing.tav", CDocumentError::Code::NotFound},
        {"missing folder on the way", dir / "nowhere" / "a.tav", CDocumentError::Code::NotFound},
        {"folder", dir / "folder.tav", CDocumentError::Code::IsFolder},
        {"fifo", dir / "pipe.tav", CDocumentError::Code::NotRegularFile},
        {"unreadable", dir / "locked.tav", CDocumentError::Code::NoPermission},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        if (bRoot && c.expected == CDocumentError::Code::NoPermission)
            continue;
        EXPECT_EQ(WhyNotOpened(c.path.string()), c.expected);
    }
}

} // namespace
