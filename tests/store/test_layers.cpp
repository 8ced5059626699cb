// The layers of the module: each folder includes only the folders below it, and the store, the
// controls' core and the CGT rules include no Qt.

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

struct Layer {
    const char* folder;
    std::vector<const char*> mayInclude; // project folders; "ui_" for generated forms
    bool qt;
};

const Layer kLayers[] = {
    {"store", {"store/"}, false},
    {"controls/core", {"controls/core/", "store/"}, false},
    {"cgt/core", {"cgt/core/", "controls/core/", "store/"}, false},
    {"controls", {"controls/", "store/", "ui_"}, true},
    {"dialogs", {"dialogs/", "controls/", "store/", "ui_"}, true},
    {"interview", {"interview/", "dialogs/", "controls/", "store/", "ui_"}, true},
    {"cgt", {"cgt/", "interview/", "dialogs/", "controls/", "store/", "ui_"}, true},
    {"summary", {"summary/", "cgt/", "interview/", "dialogs/", "controls/", "store/", "ui_"}, true},
    {"tools", {"store/", "cgt/core/", "controls/core/"}, false},
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
    for (const char* top : {"store", "controls", "dialogs", "interview", "cgt", "summary", "tools"})
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
                    if (!layer->qt)
                        EXPECT_NE(target.rfind("Q", 0), 0u) << relative << " includes " << target;
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
