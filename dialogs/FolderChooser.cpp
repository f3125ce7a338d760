#include "FolderChooser.h"

#include <QFileDialog>

#include <optional>

namespace {
std::optional<QString> g_nextAnswer;
}  // namespace

QString FolderChooser::choose(QWidget *parent, const QString &title, const QString &startFolder)
{
    if (g_nextAnswer) {
        const QString answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    return QFileDialog::getExistingDirectory(
        parent, title, startFolder, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

void FolderChooser::setNextAnswer(const QString &folder)
{
    g_nextAnswer = folder;
}
