#include "controls/text_label_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <map>

#include "controls/text_label.h"

namespace {

// One link of a label, found again by its place among the label's links.
class TextLinkAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TextLinkAccessible(TTextLbl* label, int index) : label_(label), index_(index) {}

    bool isValid() const override { return label_ && index_ < linkCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return label_ ? QAccessible::queryAccessibleInterface(label_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        const TTextLbl::TLinkRun run = link();
        if (t == QAccessible::Name) return run.Text;
        if (t == QAccessible::Description && run.Hyperlink) return run.URL;
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = link().Rect;
        return QRect(label_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.linked = true;
        s.invisible = !label_ || !label_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) label_->FollowLink(link());
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    int linkCount() const { return static_cast<int>(label_->LinkRuns().size()); }
    TTextLbl::TLinkRun link() const { return label_->LinkRuns()[static_cast<std::size_t>(index_)]; }

    QPointer<TTextLbl> label_;
    int index_;
};

class TextLabelAccessible : public QAccessibleWidget {
public:
    explicit TextLabelAccessible(TTextLbl* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    ~TextLabelAccessible() override {
        for (const auto& [index, id] : links_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(label()->LinkRuns().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto found = links_.find(index);
        if (found == links_.end())
            found = links_
                        .emplace(index, QAccessible::registerAccessibleInterface(
                                            new TextLinkAccessible(label(), index)))
                        .first;
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : links_)
            if (QAccessible::accessibleInterface(id) == child) return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }

private:
    TTextLbl* label() const { return static_cast<TTextLbl*>(widget()); }

    mutable std::map<int, QAccessible::Id> links_; // the link interfaces given out, by index
};

} // namespace

QAccessibleInterface* TextLabelAccessibleFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("TTextLbl") || !object) return nullptr;
    return new TextLabelAccessible(static_cast<TTextLbl*>(object));
}
