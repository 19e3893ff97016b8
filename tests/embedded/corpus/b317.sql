SELECT - - - 1, ~2, NOT NOT 1 = 1
