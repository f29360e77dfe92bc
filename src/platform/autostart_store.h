#pragma once

#include <QString>

#include <memory>

namespace tarvexio {

// Where "start with the system" entries live: the current user's Run key on Windows, XDG
// autostart desktop files elsewhere. Failures do nothing visible.
class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    virtual bool Exists(const QString& name) const = 0;
    virtual void Write(const QString& name, const QString& command) = 0;
    virtual void Delete(const QString& name) = 0;
};

// The store of this platform.
std::unique_ptr<AutostartStore> CreateSystemAutostartStore();

#ifndef Q_OS_WIN
// "NAME.desktop" files in a folder (~/.config/autostart for the real one).
class XdgAutostartStore final : public AutostartStore {
public:
    explicit XdgAutostartStore(QString folder);
    bool Exists(const QString& name) const override;
    void Write(const QString& name, const QString& command) override;
    void Delete(const QString& name) override;
    QString FilePath(const QString& name) const;

private:
    QString folder_;
};
#endif

} // namespace tarvexio
