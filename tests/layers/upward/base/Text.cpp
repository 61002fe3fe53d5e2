#include "app/Frame.h"
