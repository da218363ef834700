#pragma once
#include "cli/cli.h"
#include "records/ui/loan_info_dialog.h"
