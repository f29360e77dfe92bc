#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tarvexio {

// Where "start with the system" entries live: the current user's Run key on Windows, XDG
// autostart desktop files elsewhere. Failures do nothing visible.
// The program and its arguments; each store writes them in its own syntax.
struct AutostartCommand {
    QString program;
    QStringList arguments;
};

class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    virtual bool exists(const QString& name) const = 0;
    virtual void write(const QString& name, const AutostartCommand& command) = 0;
    virtual void Delete(const QString& name) = 0;
};

// The Run key's value: the program quoted, the arguments as they are.
QString runKeyCommand(const AutostartCommand& command);
// A desktop entry's Exec value: arguments quoted and escaped by the Desktop Entry rules,
// "%" doubled, then the key file's own backslash escapes.
QString desktopEntryExec(const AutostartCommand& command);

// The store of this platform.
std::unique_ptr<AutostartStore> createSystemAutostartStore();

// "NAME.desktop" files in a folder (~/.config/autostart for the real one).
class XdgAutostartStore final : public AutostartStore {
public:
    explicit XdgAutostartStore(QString folder);
    bool exists(const QString& name) const override;
    void write(const QString& name, const AutostartCommand& command) override;
    void Delete(const QString& name) override;
    QString filePath(const QString& name) const;

private:
    QString folder_;
};

// The current user's Run key (Windows).
class RunKeyAutostartStore final : public AutostartStore {
public:
    bool exists(const QString& name) const override;
    void write(const QString& name, const AutostartCommand& command) override;
    void Delete(const QString& name) override;
};

} // namespace tarvexio
