#include "SaveFileChooser.h"

#include <QFileDialog>

#include <optional>

namespace {
std::optional<QString> g_nextAnswer;
}  // namespace

QString SaveFileChooser::choose(QWidget *parent, const QString &title, const QString &suggested,
                                const QString &filters)
{
    if (g_nextAnswer) {
        const QString answer = *g_nextAnswer;
        g_nextAnswer.reset();
        return answer;
    }
    return QFileDialog::getSaveFileName(parent, title, suggested, filters);
}

void SaveFileChooser::setNextAnswer(const QString &path)
{
    g_nextAnswer = path;
}
