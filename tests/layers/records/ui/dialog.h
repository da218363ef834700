#pragma once
#include "amortization/ui/amort_window.h"
#include "records/loan_records.h"
