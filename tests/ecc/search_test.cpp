#include "ecc/codec.h"
