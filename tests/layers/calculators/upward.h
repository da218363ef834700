#pragma once
#include <QString>
#include "amortization/schedule.h"
#include "finance/items.h"
