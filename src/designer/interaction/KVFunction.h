#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>

// A user JavaScript function of a project: a name, a parameter list and a body, referenced by
// "Run JavaScript" actions through its id. The uuid lets copies between projects recognise it.
class KVFunction
{
    Q_DECLARE_TR_FUNCTIONS(KVFunction)

public:
    // The kind of owner a function was made for.
    enum Type {
        General = 0,
        DocumentHandler = 1,
        TimelineHandler = 2,
        SceneHandler = 3,
        ElementHandler = 4,
        PreloaderHandler = 5,
    };

    // A general function named "untitledFunction" without parameters, id -1 and a fresh uuid.
    KVFunction();
    KVFunction(const KVFunction &other) = default;
    KVFunction &operator=(const KVFunction &other) = default;
    virtual ~KVFunction();

    // A new function of a type: the handler kinds take the parameters "doc" and "e" and a name of
    // their own ("documentEventHandler", ...); general functions (and unknown types) none.
    static KVFunction *create(int nType);
    static QString defaultName(int nType);

    // A new function with every field copied, id and uuid included.
    virtual KVFunction *clone() const;

    const QString &name() const { return m_strName; }
    void setName(const QString &strName) { m_strName = strName; }
    const QString &content() const { return m_strContent; }
    void setContent(const QString &strContent) { m_strContent = strContent; }
    const QStringList &params() const { return m_lstParams; }
    void setParams(const QStringList &lstParams) { m_lstParams = lstParams; }
    int type() const { return m_nType; }
    void setType(int nType) { m_nType = nType; }
    int id() const { return m_nId; }
    void setId(int nId) { m_nId = nId; }
    const QUuid &uuid() const { return m_uuid; }
    void setUuid(const QUuid &uuid) { m_uuid = uuid; }

    // "function NAME(a, b) {\n" + body + "\n}", or without the name ("function(a, b) {...").
    QString text(bool bWithName = true) const;

    // Project form: id, uuid (braced), name, content, type, params.
    QJsonObject toJson() const;
    // Reads the project form; missing keys: id -1, type 0, empty name, content and params, and the
    // uuid the function already has.
    void fromJson(const QJsonObject &jo);

    // A name the generated JavaScript can declare: an identifier ("^[_$a-zA-Z][_$a-zA-Z0-9]*$")
    // that is neither a reserved word nor one of the names of the generated data script.
    static bool isValidName(const QString &strName);
    // The message for a name that isValidName refuses.
    static QString invalidNameMessage(const QString &strName);
    // A valid name made from any text (invalid characters become "_", a reserved word gets "_").
    static QString validNameFrom(const QString &strName);

private:
    QString m_strName;
    QString m_strContent;
    QStringList m_lstParams;
    int m_nType;
    int m_nId;
    QUuid m_uuid;
};
