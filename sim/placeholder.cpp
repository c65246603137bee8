namespace zelcor::sim { int placeholder() { return 0; } }
