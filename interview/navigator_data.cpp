#include "interview/navigator_data.h"

#include <stdexcept>

#include "interview/screen_catalog.h"

namespace {

QString Quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString BoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// The one navigator data object; freed when the library is unloaded.
std::unique_ptr<TNavigatorData>& OneInstance() {
    static std::unique_ptr<TNavigatorData> instance;
    return instance;
}

} // namespace

// TSingleton

TSingleton::TSingleton() : TSingleton(RefuseAccess("TSingleton")) {}

TSingleton::TSingleton(TCreateToken) {}

TSingleton::~TSingleton() = default;

TCreateToken TSingleton::RefuseAccess(const char* className) {
    throw std::logic_error(std::string("Access class ") + className + " via Instance only");
}

// TNavigatorItem

TNavigatorItem::TNavigatorItem() : TNavigatorItem(RefuseParameterless("TNavigatorItem")) {}

TNavigatorItem::TNavigatorItem(TRefused) {}

TNavigatorItem::TNavigatorItem(QString questionNumber, int screenId, QString caption)
    : fQuestionNumber(std::move(questionNumber)), fCaption(std::move(caption)),
      fScreenId(screenId) {}

TNavigatorItem::~TNavigatorItem() = default;

TNavigatorItem::TRefused TNavigatorItem::RefuseParameterless(const char* className) {
    throw std::logic_error(std::string("Use paramaterised constructor for ") + className +
                           ".Create only");
}

QString TNavigatorItem::Description() const {
    return QStringLiteral("fQuestionNumber: %1; fCaption: %2; fScreenId: %3; fEnabled: %4; "
                          "fSelected: %5")
        .arg(Quoted(fQuestionNumber), Quoted(fCaption), QString::number(fScreenId),
             BoolText(fEnabled), BoolText(fSelected));
}

// TNavigatorTopic

TNavigatorTopic::TNavigatorTopic() : TNavigatorItem(RefuseParameterless("TNavigatorTopic")) {}

TNavigatorTopic::TNavigatorTopic(QString questionNumber, int screenId, QString caption)
    : TNavigatorItem(std::move(questionNumber), screenId, std::move(caption)) {}

TNavigatorTopic::~TNavigatorTopic() = default;

QString TNavigatorTopic::Description() const {
    return QStringLiteral("(%1); fItems: (Count: %2)")
        .arg(TNavigatorItem::Description(), QString::number(fItems.size()));
}

TNavigatorItem* TNavigatorTopic::AddItem(const QString& questionNumber, const QString& caption,
                                         int screenId) {
    fItems.push_back(std::make_unique<TNavigatorItem>(questionNumber, screenId, caption));
    return fItems.back().get();
}

// TCustomNavigatorData

TCustomNavigatorData::TCustomNavigatorData() : TSingleton(RefuseAccess("TCustomNavigatorData")) {}

TCustomNavigatorData::TCustomNavigatorData(TCreateToken token) : TSingleton(token) {}

TCustomNavigatorData::~TCustomNavigatorData() = default;

TNavigatorTopic* TCustomNavigatorData::AddTopic(const QString& caption, int screenId) {
    fTopics.push_back(std::make_unique<TNavigatorTopic>(QString(), screenId, caption));
    return fTopics.back().get();
}

TNavigatorItem* TCustomNavigatorData::FindItemByScreenID(int screenId) const {
    TNavigatorItem* found = nullptr;
    auto consider = [&](TNavigatorItem* item) {
        if (item->fScreenId > screenId) return;
        if (!found || item->fScreenId > found->fScreenId) found = item;
    };
    for (const auto& topic : fTopics) {
        consider(topic.get());
        for (const auto& item : topic->fItems)
            consider(item.get());
    }
    // Screen number = section * 100 + index: a topic of another section does not hold it.
    if (found && found->fScreenId / 100 != screenId / 100) return nullptr;
    return found;
}

void TCustomNavigatorData::SelectItem(TNavigatorItem* item) {
    for (const auto& topic : fTopics) {
        topic->fSelected = false;
        for (const auto& child : topic->fItems)
            child->fSelected = false;
    }
    if (!item) return;
    item->fSelected = true;
    if (TNavigatorTopic* topic = TopicOf(item)) topic->fSelected = true;
}

TNavigatorTopic* TCustomNavigatorData::TopicOf(const TNavigatorItem* item) const {
    for (const auto& topic : fTopics) {
        if (topic.get() == item) return topic.get();
        for (const auto& child : topic->fItems)
            if (child.get() == item) return topic.get();
    }
    return nullptr;
}

// TNavigatorData

TNavigatorData::TNavigatorData() : TCustomNavigatorData(RefuseAccess("TNavigatorData")) {}

TNavigatorData::TNavigatorData(TCreateToken token) : TCustomNavigatorData(token) {}

TNavigatorData::~TNavigatorData() = default;

TNavigatorData& TNavigatorData::Instance() {
    auto& instance = OneInstance();
    if (!instance) {
        instance.reset(new TNavigatorData(TCreateToken{}));
        instance->Populate();
    }
    return *instance;
}

void TNavigatorData::Release() {
    OneInstance().reset();
}

void TNavigatorData::Populate() {
    for (const cgt::ScreenSpec& spec : cgt::InstalledScreenTable())
        if (!spec.topic.empty())
            AddTopic(QString::fromLatin1(spec.topic.data(), qsizetype(spec.topic.size())),
                     spec.number);
}
