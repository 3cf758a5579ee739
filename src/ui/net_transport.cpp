// SPDX-License-Identifier: GPL-3.0-or-later
// The interface's meta-object (its signals) is compiled into the program, which the network module
// links against.
#include "ui/net_transport.h"
