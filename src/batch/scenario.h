#pragma once
// STUB: replaced by the batch runner.
