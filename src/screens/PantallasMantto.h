// The maintenance windows' entry points, declared with the others.
#pragma once

#include "Pantallas.h"
