#pragma once
// Tab reaches a group of option buttons at its chosen button, as desktop
// programs do; the arrow keys move within the group.
class QRadioButton;

namespace kestrel {

// Keeps the focus policies of the option buttons sharing `option`'s parent
// so: the checked one takes Tab, the others only clicks and arrows.
void FollowChosenOptionWithTab(QRadioButton* option);

} // namespace kestrel
