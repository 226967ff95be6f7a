// STUB: replaced by the batch runner.
int main() { return 0; }
