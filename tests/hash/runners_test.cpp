// Tests arrive with the code they test.
