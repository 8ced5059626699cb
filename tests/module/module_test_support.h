#pragma once
// Helpers for the module tests: data files written and read with the store, and a host
// object that records the messages posted to it.

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "module/module_api.h"
#include "module/module_run.h"
#include "store/data_file.h"
#include "store/field_store.h"
#include "store/run_state.h"

namespace cgt::test {

// Stands for the host window: records every module message posted to it.
class HostObject : public QObject {
public:
    std::vector<int> messages;

protected:
    bool event(QEvent* event) override {
        if (const int number = ModuleMessageEvent::numberOf(event)) {
            messages.push_back(number);
            return true;
        }
        return QObject::event(event);
    }
};

// What a host passes to run the module on the data file `path`: this test's application, `host`
// for the module's messages, a window of 800 x 600 at (40, 40).
inline ModuleArguments HostArguments(const std::string& path, const std::string& identifier,
                                     HostObject& host, int startScreen) {
    ModuleArguments args;
    args.appHandle = reinterpret_cast<std::uintptr_t>(QCoreApplication::instance());
    args.hostWindow = reinterpret_cast<std::uintptr_t>(&host);
    args.dataPath = path;
    args.identifier = identifier;
    args.startScreen = startScreen;
    args.left = 40;
    args.top = 40;
    args.width = 800;
    args.height = 600;
    return args;
}

// Writes a data file for `identifier` holding what `fill` puts into a fresh store, then
// leaves the run reset.
inline void WriteReturn(const std::string& path, const std::string& identifier,
                        const std::function<void()>& fill = {}) {
    ResetModuleRun();
    Run().HostIdentifier = identifier;
    SetFieldStr(1, identifier);
    if (fill) fill();
    ASSERT_EQ(SaveDataFile(path), SaveStatus::Saved) << path;
    ResetModuleRun();
}

// Reads a data file into a reset run.
inline LoadStatus ReadReturn(const std::string& path, const std::string& identifier) {
    ResetModuleRun();
    Run().HostIdentifier = identifier;
    return LoadDataFile(path);
}

inline QByteArray FileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline void WriteBytes(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path;
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The tags other than tag 1 that hold a value.
inline std::vector<int> TagsWithData() {
    std::vector<int> tags;
    for (int tag = 2; tag <= kFieldCount; ++tag)
        if (GetFieldType(tag) != dtNone || FieldHasData(tag)) tags.push_back(tag);
    return tags;
}

} // namespace cgt::test
