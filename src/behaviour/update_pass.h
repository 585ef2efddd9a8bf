// The update pass: every tagged part that the walk reaches and whose first
// child is the "#center" marker is turned toward the camera's eye. The
// resident component runs it on every notification while the switch is on.
#pragma once

namespace ftv {

class HostScene;

// Takes the camera's eye position first. The walk starts at the root's
// children and descends only into parts that carry no plug-in stream; the root
// itself is never taken as a tagged part.
void update_pass(HostScene& scene);

}  // namespace ftv
