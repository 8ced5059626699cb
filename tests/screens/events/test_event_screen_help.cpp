// Every help link of the cost base, cost element, event and roll-over screens, every cost
// element's F1 topic and the screens' own topics open a topic of the module's help file.

#include <QFile>
#include <QRegularExpression>

#include <set>

#include "cgt/rules/cost_elements.h"
#include "controls/core/help_file.h"
#include "controls/text_label.h"
#include "event_fixture.h"
#include "interview/screen_catalog.h"

static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace cgt::test {
namespace {

TEST_F(EventScreenTest, EveryHelpLinkOfTheEventScreensOpensATopic) {
    InitHelpResources();
    QFile file(QStringLiteral(":/help/module_help.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const HelpFileContents help = HelpFileContents::Parse(file.readAll().toStdString());
    auto expectTopic = [&](int context) {
        const HelpTopic* topic = help.find(context);
        ASSERT_NE(topic, nullptr) << "no help topic " << context;
        EXPECT_FALSE(topic->text.empty()) << context;
    };

    const QRegularExpression jump(QStringLiteral("[<;]J(\\d+)"));
    std::set<int> linked;
    const std::pair<int, int> screens[] = {
        {2010, wkShares},     {2011, wkShares},       {2013, wkShares},     {2014, wkShares},
        {2039, wkRealEstate}, {2046, wkDepreciating}, {2069, wkOtherAssets}};
    for (const auto& [number, worksheet] : screens) {
        SCOPED_TRACE(number);
        registered(worksheet, {});
        start(number);
        ASSERT_EQ(shown(), number);
        expectTopic(FindScreenSpec(number)->helpContext);
        for (const TTextLbl* label : screen()->findChildren<TTextLbl*>())
            for (const QString& line : label->Text()) {
                auto it = jump.globalMatch(line);
                while (it.hasNext()) {
                    const int context = it.next().captured(1).toInt();
                    expectTopic(context);
                    linked.insert(context);
                }
            }
    }
    for (int context : {195, 198, 199, 200, 201, 202, 203, 207, 211, 212, 213, 333, 337, 348, 355,
                        356, 357, 358, 359})
        EXPECT_TRUE(linked.count(context)) << "no link to " << context;
    for (const char* code : {"1", "1D", "2A", "2B", "3A", "3B", "4", "5", "6C", "6R"})
        expectTopic(CostElementHelpTopic(code));
}

} // namespace
} // namespace cgt::test
