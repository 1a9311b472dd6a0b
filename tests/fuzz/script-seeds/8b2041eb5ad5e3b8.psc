velocity([-353.447 ,272],[1364.322,1E-3],[1171.217,229.616];radius(-1211.568);
blendfactor(2848.942,inf);continiuous(770);continu ous(2223);
mode(0x10);continuous(2711.833);
// a comment ('with quotes') and (brackets)
