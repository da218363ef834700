#pragma once
#include "calculators/ui/calc_window.h"
#include "records/loan_records.h"
#include "records/ui/loan_info_dialog.h"
