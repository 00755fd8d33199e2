#pragma once

#include "IOptionPage.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

// The "General" options: the default folder of new projects, automatic backups and the update
// check.
class KVGeneralOptionTab : public IOptionPage
{
    Q_OBJECT

public:
    explicit KVGeneralOptionTab(QWidget *pParent = nullptr);

    QString title() const override { return tr("General"); }
    void initValues() override;
    void saveChanges() override;

signals:
    void changed();

public slots:
    void onBrowseLocation();
    void onLocationChanged(const QString &text);

private:
    void markChanged();

    QLineEdit *m_pLocation = nullptr;
    QCheckBox *m_pBackup = nullptr;
    QSpinBox *m_pMinutes = nullptr;
    QCheckBox *m_pUpdates = nullptr;
    bool m_bLoading = false;
};
