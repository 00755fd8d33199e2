#pragma once

#include <QColor>
#include <QHash>
#include <QObject>

// The code editors' switches and colours, kept in the settings group "FunctionEditor". Every code
// editor follows changed(), so that a change in the options dialog shows at once.
class KVCodeEditorSettings : public QObject
{
    Q_OBJECT

public:
    static KVCodeEditorSettings *getInstance();

    // Keys of the switches: "code_suggestion", "code_folding", "text_wrap", "show_line_number",
    // "bracket_match", "prebuilt_function".
    static QStringList switchKeys();
    bool value(const QString &strKey) const;
    void setValue(const QString &strKey, bool bOn);
    QHash<QString, QColor> colors() const;
    void setColors(const QHash<QString, QColor> &colors);
    // Back to every default.
    void reset();

signals:
    void changed();

private:
    KVCodeEditorSettings() = default;
};
