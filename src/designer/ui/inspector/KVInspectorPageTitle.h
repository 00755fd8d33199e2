#pragma once

#include <QWidget>

// The header of an inspector page: its title and an arrow that shows whether the page is open; a
// click toggles it.
class KVInspectorPageTitle : public QWidget
{
    Q_OBJECT
public:
    explicit KVInspectorPageTitle(const QString &strTitle, QWidget *pParent = nullptr);

    QString title() const { return m_strTitle; }
    bool isExpanded() const { return m_bExpanded; }
    void setExpanded(bool bExpanded);
    QSize sizeHint() const override;

signals:
    void clicked(KVInspectorPageTitle *title);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void enterEvent(QEvent *pEvent) override;
    void leaveEvent(QEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    QString m_strTitle;
    bool m_bExpanded = false;
    bool m_bHovered = false;
    bool m_bPressed = false;
};
