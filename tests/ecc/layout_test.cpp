#include "ecc/layout.h"
