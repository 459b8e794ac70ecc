// The four models' live part tables and the three hit-test face tables, filled
// as start-up fills them, for the programs that need the models without the
// rest of start-up (tests, benchmarks, tools).
#pragma once

void init_model_tables();
