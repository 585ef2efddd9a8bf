#include "behaviour/attribute_dialog.h"

#include "behaviour/plugin_stream.h"
#include "behaviour/texts.h"
#include "host/host_dialog.h"
#include "host/host_ref.h"
#include "host/host_scene.h"

namespace ftv {

bool run_attribute_dialog(HostShape& shape) {
    const auto stream = find_plugin_stream(shape);
    const std::int32_t current = stream ? read_first_int(*stream.get()) : 0;

    const auto scene = adopt(shape.scene());
    const auto dialog = adopt(scene->new_dialog(0));
    dialog->set_title(kAttributeTitle);
    dialog->add_checkbox(HostDialog::kCheckbox, kEnabledLabel, 0);
    dialog->set_checked(0, current != 0);
    if (!dialog->run_modal(0)) return false;

    bool checked = false;
    dialog->is_checked(0, &checked);
    const std::int32_t tag = checked ? 1 : 0;
    if (stream) {
        write_first_int(*stream.get(), tag);  // the existing stream is reused
    } else {
        write_new_stream(shape, tag);
    }
    return false;
}

}  // namespace ftv
