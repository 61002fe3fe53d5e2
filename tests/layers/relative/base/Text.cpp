#include "../app/Frame.h"
