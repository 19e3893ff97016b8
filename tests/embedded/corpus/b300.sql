SELECT Foo FROM subjects
