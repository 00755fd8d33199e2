#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The file and text dialogs the editor asks the user through. A test answers them in the user's
// place by installing an answerer; without one the toolkit's dialogs show.
class FileDialogs
{
public:
    enum Kind { OpenFiles, OpenFile, SaveFile, Folder, Text };
    // Gets the dialog's kind and caption; returns the answer (paths, a folder or a text; empty
    // for a cancelled dialog).
    using Answerer = std::function<QStringList(Kind eKind, const QString &strCaption)>;
    // Installs the answerer (an empty function shows the dialogs again) and returns the previous one.
    static Answerer setAnswerer(Answerer answerer);

    static QStringList getOpenFileNames(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                        const QString &strFilter);
    static QString getOpenFileName(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                   const QString &strFilter);
    static QString getSaveFileName(QWidget *pParent, const QString &strCaption, const QString &strDir,
                                   const QString &strFilter);
    static QString getExistingDirectory(QWidget *pParent, const QString &strCaption, const QString &strDir);
    // A line of text; pbOk is false when the dialog was cancelled.
    static QString getText(QWidget *pParent, const QString &strTitle, const QString &strLabel,
                           const QString &strText, bool *pbOk);
};
