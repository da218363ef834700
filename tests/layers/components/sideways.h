#pragma once
#include <QWidget>
#include "calculators/loan.h"
#include "finance/format.h"
