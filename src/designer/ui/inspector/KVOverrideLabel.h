#pragma once

#include <QLabel>

// The label of a field. At a responsive layout where the field's property is overridden it is
// marked (the style sheet reads its "overridden" property); a click or its menu then asks to give
// the property back to inheritance, here or at every layout.
class KVOverrideLabel : public QLabel
{
    Q_OBJECT
public:
    explicit KVOverrideLabel(const QString &strText, QWidget *pParent = nullptr);

    bool isOverridden() const { return m_bOverridden; }
    void setOverridden(bool bOverridden);

signals:
    void removeOverride();
    void removeOverrideEverywhere();

public slots:
    void onClick();

protected:
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void contextMenuEvent(QContextMenuEvent *pEvent) override;

private:
    bool m_bOverridden = false;
};
