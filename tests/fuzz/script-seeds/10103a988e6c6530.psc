gravity(0x10);randomsize(-21 4,-2781.92Ú);radius(2837.770);
