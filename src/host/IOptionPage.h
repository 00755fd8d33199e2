#pragma once

#include <QWidget>

// One page of the options dialog.
class IOptionPage : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual QString title() const = 0;
    virtual void initValues() = 0;
    virtual void saveChanges() = 0;
    bool isChanged() const { return m_bChanged; }

public slots:
    void setChanged(bool bChanged = true) { m_bChanged = bChanged; }

private:
    bool m_bChanged = false;
};
