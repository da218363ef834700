#pragma once
#include "finance/items.h"
#include "tables/table.h"
