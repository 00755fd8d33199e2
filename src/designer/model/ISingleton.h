#pragma once

#include <QMutex>
#include <QMutexLocker>

// Process-wide single instance: created on first use under a per-type mutex, deleted by
// destroyInstance() (the plug-in does this for its singletons when it is unloaded).
template <typename T>
class ISingleton
{
public:
    static T *getInstance()
    {
        if (!s_pInstance) {
            QMutexLocker locker(&s_mutex);
            if (!s_pInstance)
                s_pInstance = new T();
        }
        return s_pInstance;
    }

    static bool hasInstance() { return s_pInstance != nullptr; }

    static void destroyInstance()
    {
        QMutexLocker locker(&s_mutex);
        delete s_pInstance;
        s_pInstance = nullptr;
    }

protected:
    ISingleton() = default;

private:
    static inline T *s_pInstance = nullptr;
    static inline QMutex s_mutex;
};
