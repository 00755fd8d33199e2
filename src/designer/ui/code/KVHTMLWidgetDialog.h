#pragma once

#include <QDialog>
#include <QSize>

class KVCodeEdit;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Asks what a new HTML widget shows, the page at an address or HTML code written here, and its
// size on the stage.
class KVHTMLWidgetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KVHTMLWidgetDialog(QWidget *pParent = nullptr);

    // The address, empty when code was chosen; the code, empty when an address was chosen.
    QString url() const;
    QString code() const;
    QSize widgetSize() const;

    QLineEdit *urlEdit() const { return m_pUrl; }
    KVCodeEdit *codeEdit() const { return m_pCode; }

public slots:
    void accept() override;

private:
    void updateMode();

    QRadioButton *m_pByUrl = nullptr;
    QRadioButton *m_pByCode = nullptr;
    QLineEdit *m_pUrl = nullptr;
    KVCodeEdit *m_pCode = nullptr;
    QSpinBox *m_pWidth = nullptr;
    QSpinBox *m_pHeight = nullptr;
};
