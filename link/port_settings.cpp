// The global port settings record, holding its defaults until settings load.
#include "link/port_settings.h"

PortSettings port_settings;
