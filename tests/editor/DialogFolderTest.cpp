#include "QtPrinters.h"
#include "editor/DialogFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace zmt {
namespace {

class DialogFolderTest : public ::testing::Test {
  protected:
    QString make(const QString& name) {
        EXPECT_TRUE(QDir(root.path()).mkpath(name));
        return root.filePath(name);
    }
    QTemporaryDir root;
};

TEST_F(DialogFolderTest, StartsInTheFallbackThenWhereTheLastFileWas) {
    const QString documents = make("Documents");
    const QString meters = make("meters");
    const QString old = make("old");
    DialogFolder folder(documents);
    struct Step {
        const char* remembered;  // nullptr: nothing chosen in this step
        const char* name;
        QString start;
        QString initial;
    };
    const Step steps[] = {
        {nullptr, "default", documents, documents + "/default"},
        {"meters/a.dig", "default", meters, meters + "/default"},
        {nullptr, "/elsewhere/b.dig", meters, meters + "/b.dig"},
        {"old/c.dig", "c.dig", old, old + "/c.dig"},
        {"", "default", old, old + "/default"},  // a cancelled dialog changes nothing
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.remembered)
            folder.remember(*step.remembered ? root.filePath(step.remembered) : QString());
        EXPECT_EQ(folder.startFolder(), step.start);
        EXPECT_EQ(folder.initialPath(step.name), step.initial);
    }
    ASSERT_TRUE(QDir(old).removeRecursively());
    EXPECT_EQ(folder.startFolder(), documents);  // a folder removed since is no place to start
}

// Started from the desktop the working directory is the program's hidden data folder: the
// dialogs never start there.
TEST_F(DialogFolderTest, DocumentsFolderIsAnExistingFolderOtherThanTheWorkingDirectory) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(make("work"));
    const QString documents = DialogFolder::DocumentsFolder();
    EXPECT_TRUE(QFileInfo(documents).isDir()) << documents.toStdString();
    EXPECT_NE(QDir(documents), QDir::current());
    EXPECT_EQ(DialogFolder().startFolder(), documents);
    QDir::setCurrent(previous);
}

}  // namespace
}  // namespace zmt
