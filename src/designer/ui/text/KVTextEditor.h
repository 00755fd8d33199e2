#pragma once

#include <QColor>
#include <QJsonObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

class KVCanvas;
class KVDocument;
class KVTextFloatingTool;
class QAction;
class QComboBox;
class QMenu;

// The text editing tool of a stage: the format toolbar floating over the stage while a text is
// edited in the page, and the stage's menu at that time. Every button and field becomes a command
// of the page's rich-text editor (execCommand, which the canvas sends to the page); the page
// reports the format at the caret and the toolbar shows it (applyFormat). Formatting makes no undo
// step: the edited text reaches the model as one "Change Text" when editing ends.
class KVTextEditor : public QObject
{
    Q_OBJECT
public:
    explicit KVTextEditor(KVCanvas *pCanvas);
    ~KVTextEditor() override;

    KVTextFloatingTool *floatingTool() const { return m_pTool; }
    QComboBox *familyBox() const { return m_pFamily; }
    QComboBox *sizeBox() const { return m_pSize; }
    // The toolbar's button that sends the page command (for example "bold"), null for none.
    QAction *commandAction(const QString &strCommand) const;
    // The stage's menu while a text is edited.
    QMenu *contextMenu() const { return m_pMenu; }
    // The switch of the floating toolbar ("Floating Text Format Toolbar").
    QAction *floatingToggle() const { return m_pToggle; }

    // The families offered: the project's fonts first, then the installed families.
    QStringList families() const;
    // Reads the fonts of the document (its font resources) again; null leaves the installed ones.
    void loadFonts(KVDocument *pDocument);

    // The shortcuts of the format actions, for the page: "ctrl+b, ctrl+i, ...", with "meta" in
    // place of "ctrl" where the platform's command key is the meta key.
    QString shortcutList() const;
    // One key sequence in that form.
    static QString pageShortcut(const QString &strPortable);

    // Text editing started (the toolbar goes above the stage point) or ended (it hides).
    void beginEditing(const QPoint &ptInCanvas);
    void endEditing();

signals:
    void execCommand(const QString &cmdName, const QString &cmdValue);

public slots:
    // Sets the buttons, family, size and colour from the page's report of the format at the caret.
    void applyFormat(const QJsonObject &joFormat);
    void copy();
    void cut();
    void paste();
    void pastePlainText();
    void onDelete();
    void selectAll();
    void onExecEditorCommand(bool bChecked);
    void onRemoveFormat();
    void onFontFamilyActivated(const QString &strFamily);
    void onFontFamilyTextEnter();
    void onFontSizeChanged(const QString &strSize);
    void onFontSizeEdited();
    void onForegroundChanged(const QColor &color);
    void onSelectTextColor();
    void showInsertLinkPopup();
    void onInsertHyperLink(const QString &strLinkTag);
    void showFloatTools(bool bShow);
    void hideToolbarIfNeeded();

private:
    void buildToolBar();
    void buildMenu();
    void send(const QString &strCommand, const QString &strValue = QString());

    KVCanvas *m_pCanvas;
    KVTextFloatingTool *m_pTool;
    QComboBox *m_pFamily = nullptr;
    QComboBox *m_pSize = nullptr;
    QAction *m_pColor = nullptr;
    QAction *m_pToggle = nullptr;
    QPointer<QMenu> m_pMenu;
    QList<QAction *> m_commandActions;
    QStringList m_projectFamilies;
    QColor m_color = Qt::black;
    bool m_bEditing = false;
};
