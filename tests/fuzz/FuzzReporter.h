#pragma once

#include "IReporter.h"

// The fuzz harnesses' reporter: it keeps nothing and answers every question "open anyway" and
// "continue" (Ok, else Yes, else the default), so that the reader goes as deep as it can.
class FuzzReporter : public IReporter
{
public:
    void report(Severity, const QString &, const QString &) override {}
    Button ask(const QString &, const QString &, int buttons, Button defaultButton) override
    {
        if (buttons & Ok)
            return Ok;
        if (buttons & Yes)
            return Yes;
        return defaultButton;
    }
    int choose(const QString &, const QString &, const QStringList &, int defaultIndex) override
    {
        return defaultIndex;
    }
};
