#pragma once

#include "ICreateDocumentDlg.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

// Collects the name, folder, stage size, number of blank scenes and responsiveness of a new project.
// Accepting checks the folder, makes the project folder and, after asking, clears an old project
// that stands there.
class KVNewProjectDialog : public ICreateDocumentDlg
{
    Q_OBJECT
public:
    explicit KVNewProjectDialog(QWidget *pParent = nullptr);
    ~KVNewProjectDialog() override;

    QString getFilePath() const override;
    int getWidth() const override;
    int getHeight() const override;
    int getSceneCount() const override;
    bool isResponsive() const override;

    // The pieces of the form, for the shell and for tests.
    QLineEdit *nameEdit() const { return m_pName; }
    QLineEdit *locationEdit() const { return m_pLocation; }
    QSpinBox *widthBox() const { return m_pWidth; }
    QSpinBox *heightBox() const { return m_pHeight; }
    QSpinBox *scenesBox() const { return m_pScenes; }
    QCheckBox *responsiveBox() const { return m_pResponsive; }
    QCheckBox *defaultLocationBox() const { return m_pDefaultLocation; }
    QPushButton *breakpointsButton() const { return m_pBreakpoints; }
    QList<QAction *> presetActions() const;

    static QString projectExtension() { return QStringLiteral("kavio"); }
    // "a" -> "a", "a.KAVIO" -> "a": the name of the project folder.
    static QString folderNameFor(const QString &strName);
    // "a" -> "a.kavio", "a.KAVIO" -> "a.KAVIO".
    static QString fileNameFor(const QString &strName);

public slots:
    void accept() override;
    void onBrowseLocation();
    void onEditingNameFinished();
    void onPresetSizeChanged(QAction *pAction);
    void onShowBreakpointsList();
    void onEnableResponsive();

signals:
    // The "Breakpoints" button: the shell opens the breakpoints dialog modally.
    void breakpointsRequested();

private:
    QLineEdit *m_pName;
    QLineEdit *m_pLocation;
    QSpinBox *m_pWidth;
    QSpinBox *m_pHeight;
    QSpinBox *m_pScenes;
    QToolButton *m_pPresets;
    QCheckBox *m_pResponsive;
    QPushButton *m_pBreakpoints;
    QCheckBox *m_pDefaultLocation;
    QString m_strFilePath;
};
