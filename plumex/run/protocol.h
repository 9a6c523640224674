// The start-up console text of PLUMEX: banner and settings protocol.
#pragma once

#include "plumex/run/cc_description.h"
#include "plumex/run/cc_settings.h"

// The seven-line box with the program name centred in its title line.
void print_banner();

// "The adjustments of this run are:" and one line per shown setting.
void print_settings_protocol(const CcSettings& settings, const CcDescription& description);
