#include "behaviour/attribute_dialog.h"

#include "behaviour/part_tag.h"
#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "host/host_dialog.h"
#include "host/host_ref.h"
#include "host/host_scene.h"

namespace ftv {

bool run_attribute_dialog(HostShape& shape) {
    const auto stream = find_plugin_stream(shape);
    const std::int32_t current = stream ? read_first_int(*stream.get()) : kUntagged;

    const auto scene = adopt(shape.scene());
    const auto dialog = adopt(scene->new_dialog(0));
    dialog->set_title(kAttributeTitle);
    dialog->add_checkbox(HostDialog::kCheckbox, kEnabledLabel, 0);
    dialog->add_checkbox(HostDialog::kCheckbox, kUprightLabel, 0);
    dialog->add_checkbox(HostDialog::kCheckbox, kExactLabel, 0);
    dialog->set_checked(0, current != kUntagged);
    dialog->set_checked(1, current == kUprightTag);
    dialog->set_checked(2, current == kExactTag);
    if (!dialog->run_modal(0)) return false;

    bool tagged = false;
    bool upright = false;
    bool exact = false;
    dialog->is_checked(0, &tagged);
    dialog->is_checked(1, &upright);
    dialog->is_checked(2, &exact);
    const std::int32_t tag = !tagged ? kUntagged : upright ? kUprightTag : exact ? kExactTag : kTagged;
    if (stream) {
        write_first_int(*stream.get(), tag);  // the existing stream is reused
    } else {
        write_new_stream(shape, tag);
    }
    return false;
}

}  // namespace ftv
