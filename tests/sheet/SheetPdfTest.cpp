// Writing the sheet's PDF file: the name it gets, and a folder that takes no file (read-only,
// full, missing) leaving the previous file as it was with a message that says why.
#include "FileSizeLimit.h"
#include "SheetTestSupport.h"
#include "sheet/SheetPdf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

namespace zmt::test {
namespace {

// Takes the override of file permissions from this thread while it lives, so that a
// read-only folder stops a test run as root as well.
class WithoutPermissionOverride {
  public:
    WithoutPermissionOverride() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2];
        std::memcpy(reduced, saved_, sizeof reduced);
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, reduced);
    }
    ~WithoutPermissionOverride() { syscall(SYS_capset, &header_, saved_); }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

TEST(SheetPdf, NamesGetThePdfSuffixAndTheConfigurationsName) {
    const std::pair<const char*, const char*> suffixed[] = {
        {"sheet", "sheet.pdf"},           {"sheet.pdf", "sheet.pdf"},
        {"SHEET.PDF", "SHEET.PDF"},       {"meter.dig", "meter.dig.pdf"},
        {"/a b/meter", "/a b/meter.pdf"},
    };
    for (const auto& [name, expected] : suffixed) EXPECT_EQ(WithPdfSuffix(name), expected) << name;

    const std::pair<const char*, const char*> proposed[] = {
        {"", "default.pdf"},
        {"/plant/line 3/meter 7.dig", "meter 7.pdf"},
        {"relative.v2.dig", "relative.v2.pdf"},
    };
    for (const auto& [file, expected] : proposed)
        EXPECT_EQ(ProposedSheetName(file), expected) << file;

    QTemporaryDir dir;
    const SheetResult written = WriteConfigurationSheetPdf(WorkedExample(), dir.filePath("plain"));
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.path, dir.filePath("plain.pdf"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plain.pdf"});
    EXPECT_EQ(PdfPages(written.path), 1);
}

struct FailureCase {
    const char* what;
    const char* folder;  // below the temporary folder
    bool readOnly;
    bool full;
    int language;
    const char* heading;
};

TEST(SheetPdf, AFolderThatTakesNoFileLeavesTheOldOneAndSaysWhy) {
    const FailureCase cases[] = {
        {"read-only folder", "locked", true, false, 0, "Konfigurationsblatt nicht gespeichert: "},
        {"full disk", "full", false, true, 1, "configuration sheet not saved: "},
        {"missing folder", "missing/deeper", false, false, 0,
         "Konfigurationsblatt nicht gespeichert: "},
    };
    QTemporaryDir dir;
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = dir.filePath(c.folder);
        const QString path = folder + "/sheet.pdf";
        const QByteArray old = "the sheet of last week";
        const bool missing = QString(c.folder).startsWith("missing");
        if (!missing) {
            ASSERT_TRUE(QDir().mkpath(folder));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        if (c.readOnly) QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);

        SheetResult written;
        {
            const WithoutPermissionOverride notRoot;
            std::optional<FileSizeLimit> full;
            if (c.full) full.emplace(1000);
            written = WriteConfigurationSheetPdf(WorkedExample(c.language), folder + "/sheet");
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        EXPECT_FALSE(written.ok);
        EXPECT_TRUE(written.message.startsWith(c.heading + path + ": "))
            << written.message.toStdString();
        EXPECT_GT(written.message.size(), QString(c.heading).size() + path.size() + 2);
        QFile file(path);
        EXPECT_EQ(file.open(QIODevice::ReadOnly), !missing);
        if (!missing) {
            EXPECT_EQ(file.readAll(), old);
        }
        // Nothing else is left behind in the folder.
        EXPECT_LE(QDir(folder).entryList(QDir::Files).size(), 1);
    }
}

}  // namespace
}  // namespace zmt::test
