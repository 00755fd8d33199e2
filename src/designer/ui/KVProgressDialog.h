#pragma once

#include "resources/IKVProgress.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// Long file copies shown in a modal progress dialog with a cancel button.
class KVProgressDialog : public IKVProgress
{
public:
    explicit KVProgressDialog(QWidget *pParent = nullptr);
    ~KVProgressDialog() override;

    void begin(const QString &strText, const QString &strCancelText, qint64 nTotal) override;
    void setValue(qint64 nValue) override;
    bool wasCanceled() const override;
    void end() override;

private:
    QPointer<QWidget> m_pParent;
    QProgressDialog *m_pDialog = nullptr;
    qint64 m_nTotal = 0;
};
