#include "radio_focus.h"

#include <QRadioButton>

namespace kestrel {

namespace {

void updateGroup(QWidget* parent) {
    const auto options = parent->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    const bool anyChecked =
        std::any_of(options.begin(), options.end(), [](auto* o) { return o->isChecked(); });
    for (QRadioButton* o : options)
        o->setFocusPolicy(o->isChecked() || !anyChecked ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

void FollowChosenOptionWithTab(QRadioButton* option) {
    QObject::connect(option, &QRadioButton::toggled, option,
                     [option] { updateGroup(option->parentWidget()); });
    updateGroup(option->parentWidget());
}

} // namespace kestrel
