#pragma once
// Whether the program runs as a native Wayland client (Qt's wayland platform),
// where the compositor alone places windows and keeps them above others.

namespace lirabox::qt {

bool isWaylandClient();

}  // namespace lirabox::qt
