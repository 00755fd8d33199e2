#include "FileDialogs.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {
FileDialogs::Answerer &answerer()
{
    static FileDialogs::Answerer s_answerer;
    return s_answerer;
}
} // namespace

FileDialogs::Answerer FileDialogs::setAnswerer(Answerer fn)
{
    Answerer previous = answerer();
    answerer() = std::move(fn);
    return previous;
}

QStringList FileDialogs::getOpenFileNames(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                          const QString &strFilter)
{
    if (answerer())
        return answerer()(OpenFiles, strCaption);
    return QFileDialog::getOpenFileNames(pParent, strCaption, strDir, strFilter);
}

QString FileDialogs::getOpenFileName(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                     const QString &strFilter)
{
    if (answerer())
        return answerer()(OpenFile, strCaption).value(0);
    return QFileDialog::getOpenFileName(pParent, strCaption, strDir, strFilter);
}

QString FileDialogs::getSaveFileName(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                     const QString &strFilter)
{
    if (answerer())
        return answerer()(SaveFile, strCaption).value(0);
    return QFileDialog::getSaveFileName(pParent, strCaption, strDir, strFilter);
}

QString FileDialogs::getExistingDirectory(QWidget *pParent, const QString &strCaption, const QString &strDir)
{
    if (answerer())
        return answerer()(Folder, strCaption).value(0);
    return QFileDialog::getExistingDirectory(pParent, strCaption, strDir);
}

QString FileDialogs::getText(QWidget *pParent, const QString &strTitle, const QString &strLabel,
                             const QString &strText, bool *pbOk)
{
    if (answerer()) {
        const QStringList answer = answerer()(Text, strLabel);
        if (pbOk)
            *pbOk = !answer.isEmpty();
        return answer.value(0);
    }
    return QInputDialog::getText(pParent, strTitle, strLabel, QLineEdit::Normal, strText, pbOk);
}
