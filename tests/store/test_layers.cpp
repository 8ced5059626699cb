// The layers of the module: each folder includes only the folders below it; the store, the
// controls' core, the CGT rules and the reports' core include no Qt, and the report engine
// only Qt Core and Qt Gui.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace cgt::test {
namespace {

namespace fs = std::filesystem;

// The Qt a layer may use: none, Qt Core and Qt Gui (included as <QtCore/...> and <QtGui/...>),
// or any module.
enum class Qt { None, Gui, All };

struct Layer {
    const char* folder;
    std::vector<const char*> mayInclude; // project folders; "ui_" for generated forms
    Qt qt;
};

const Layer kLayers[] = {
    {"base", {"base/"}, Qt::None},
    {"store", {"store/", "base/"}, Qt::None},
    {"controls/core", {"controls/core/", "base/"}, Qt::None},
    {"cgt/rules", {"cgt/rules/", "controls/core/", "base/"}, Qt::None},
    {"cgt/records", {"cgt/records/", "cgt/rules/", "controls/core/", "store/", "base/"}, Qt::None},
    {"report/core", {"report/core/", "controls/core/", "store/", "base/"}, Qt::None},
    {"report/engine",
     {"report/engine/", "report/core/", "controls/core/", "store/", "base/"},
     Qt::Gui},
    {"controls", {"controls/", "store/", "base/", "ui_"}, Qt::All},
    {"report/preview",
     {"report/preview/", "report/engine/", "report/core/", "controls/", "store/", "base/", "ui_"},
     Qt::All},
    {"dialogs", {"dialogs/", "controls/", "store/", "base/", "ui_"}, Qt::All},
    {"interview", {"interview/", "dialogs/", "controls/", "store/", "base/", "ui_"}, Qt::All},
    {"cgt/screens",
     {"cgt/screens/", "cgt/records/", "cgt/rules/", "interview/", "dialogs/", "report/",
      "controls/", "store/", "base/", "ui_"},
     Qt::All},
    {"tools",
     {"store/", "base/", "cgt/records/", "cgt/rules/", "controls/core/", "report/core/",
      "report/engine/", "tools/"},
     Qt::None},
};

// The layer of a source file: the longest folder that holds it.
const Layer* LayerOf(const fs::path& relative) {
    const Layer* best = nullptr;
    std::size_t bestLength = 0;
    const std::string path = relative.generic_string();
    for (const Layer& layer : kLayers) {
        const std::string folder = std::string(layer.folder) + "/";
        if (path.rfind(folder, 0) == 0 && folder.size() > bestLength) {
            best = &layer;
            bestLength = folder.size();
        }
    }
    return best;
}

TEST(Layers, EachFolderIncludesOnlyTheLayersBelowIt) {
    const fs::path root(CGT_SOURCE_DIR);
    const std::regex include(R"re(#include\s+([<"])([^>"]+)[>"])re");
    int files = 0;
    for (const char* top :
         {"base", "store", "controls", "report", "dialogs", "interview", "cgt", "tools"})
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            const fs::path relative = fs::relative(entry.path(), root);
            const Layer* layer = LayerOf(relative);
            ASSERT_NE(layer, nullptr) << relative;
            ++files;
            std::ifstream in(entry.path());
            std::string line;
            while (std::getline(in, line)) {
                std::smatch m;
                if (!std::regex_search(line, m, include)) continue;
                const std::string target = m[2];
                if (m[1] == "<") {
                    const bool isQt = target.rfind("Q", 0) == 0;
                    if (layer->qt == Qt::None)
                        EXPECT_FALSE(isQt) << relative << " includes " << target;
                    if (layer->qt == Qt::Gui && isQt)
                        EXPECT_TRUE(target.rfind("QtGui/", 0) == 0 ||
                                    target.rfind("QtCore/", 0) == 0)
                            << relative << " includes " << target << " (Qt Core and Gui only)";
                    continue;
                }
                bool allowed = false;
                for (const char* prefix : layer->mayInclude)
                    allowed = allowed || target.rfind(prefix, 0) == 0;
                EXPECT_TRUE(allowed) << relative << " includes " << target;
            }
        }
    EXPECT_GT(files, 50);
}

} // namespace
} // namespace cgt::test
