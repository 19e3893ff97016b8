SELECT x.Foo FROM subjects s
