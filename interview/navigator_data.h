#pragma once
// The navigator's data: the interview's topics (and optional items below them) held in one
// process-wide object per module. TNavigatorData lists the topics of the installed screen
// table, each with the screen it opens. FindItemByScreenID maps any screen number to the topic or
// item that contains it; SelectItem marks the one the navigator highlights.

#include <memory>
#include <vector>

#include <QColor>
#include <QString>

// Passed to the creating constructors; only the classes themselves can make one that is used.
struct TCreateToken {};

// A class with one object, reached through its class's Instance. The public parameterless
// constructor exists only to refuse: it throws std::logic_error.
class TSingleton {
public:
    TSingleton(); // throws "Access class TSingleton via Instance only"
    virtual ~TSingleton();
    TSingleton(const TSingleton&) = delete;
    TSingleton& operator=(const TSingleton&) = delete;

protected:
    explicit TSingleton(TCreateToken);
    // Throws the refusal of the public constructor for className; never returns.
    [[noreturn]] static TCreateToken RefuseAccess(const char* className);
};

class TNavigatorItem {
public:
    TNavigatorItem(); // throws "Use paramaterised constructor for TNavigatorItem.Create only"
    TNavigatorItem(QString questionNumber, int screenId, QString caption);
    virtual ~TNavigatorItem();
    TNavigatorItem(const TNavigatorItem&) = delete;
    TNavigatorItem& operator=(const TNavigatorItem&) = delete;

    virtual QString Description() const;

    QString fQuestionNumber; // may be empty
    QString fCaption;
    int fScreenId = 0; // the item's first screen
    bool fEnabled = true;
    bool fSelected = false;
    bool fNeedsVisit = false; // the user must visit the topic again (drawn marked)

protected:
    struct TRefused {};
    explicit TNavigatorItem(TRefused);
    [[noreturn]] static TRefused RefuseParameterless(const char* className);
};

class TNavigatorTopic : public TNavigatorItem {
public:
    TNavigatorTopic(); // throws "Use paramaterised constructor for TNavigatorTopic.Create only"
    TNavigatorTopic(QString questionNumber, int screenId, QString caption);
    ~TNavigatorTopic() override;

    QString Description() const override;
    TNavigatorItem* AddItem(const QString& questionNumber, const QString& caption, int screenId);

    std::vector<std::unique_ptr<TNavigatorItem>> fItems;
};

class TCustomNavigatorData : public TSingleton {
public:
    TCustomNavigatorData(); // throws "Access class TCustomNavigatorData via Instance only"
    ~TCustomNavigatorData() override;

    TNavigatorTopic* AddTopic(const QString& caption, int screenId);
    int TopicCount() const { return static_cast<int>(fTopics.size()); }
    TNavigatorTopic* Topic(int index) const { return fTopics.at(static_cast<size_t>(index)).get(); }

    static QColor NavigatorColor() { return QColor(235, 235, 235); }

    // Among all topics and items, the one with the largest fScreenId not above screenId (a later
    // one wins only with a larger number); nullptr if none or if it lies in another section.
    TNavigatorItem* FindItemByScreenID(int screenId) const;
    // Clears fSelected everywhere, then sets it on item and on the topic containing it.
    void SelectItem(TNavigatorItem* item);
    // The topic that is item or holds it; nullptr for a foreign item.
    TNavigatorTopic* TopicOf(const TNavigatorItem* item) const;

protected:
    // Creates the empty topic list. The class's Instance calls Populate right after.
    explicit TCustomNavigatorData(TCreateToken token);
    virtual void Populate() = 0;

private:
    std::vector<std::unique_ptr<TNavigatorTopic>> fTopics;
};

// The interview's topics: those of the installed screen table, in its order.
class TNavigatorData : public TCustomNavigatorData {
public:
    TNavigatorData(); // throws "Access class TNavigatorData via Instance only"
    ~TNavigatorData() override;

    // The one object, created and populated on first use.
    static TNavigatorData& Instance();
    // Frees the one object; the next Instance creates a new one. Also done at unload.
    static void Release();

protected:
    explicit TNavigatorData(TCreateToken token);
    void Populate() override;
};
